#include "skin/XmlLimits.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>

#include <algorithm>

namespace XmlLimits {
namespace {

// Deeper nesting than libxml2 itself accepts, and a bound on the recursion
// of the measurement.
constexpr int kMaxEntityDepth = 40;

qsizetype skipPast(const QByteArray& b, qsizetype from, const char* end) {
    const qsizetype at = b.indexOf(end, from);
    return at < 0 ? b.size() : at + qsizetype(qstrlen(end));
}

// Calls `visit(i)` for each position from `i` on whose character lies outside
// quoted values, until it returns false; returns that position (or the end).
// `visit` may move `i` forward.
template <typename Visit> qsizetype scanUnquoted(const QByteArray& b, qsizetype i, Visit visit) {
    char quote = 0;
    for (; i < b.size(); ++i) {
        const char c = b.at(i);
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (!visit(i))
            break;
    }
    return i;
}

// Skips from `i` (just past "<") to just past the end of a comment, CDATA
// section, processing instruction or declaration.
qsizetype skipMarkup(const QByteArray& b, qsizetype i) {
    if (b.mid(i, 3) == "!--")
        return skipPast(b, i + 3, "-->");
    if (b.mid(i, 8) == "![CDATA[")
        return skipPast(b, i + 8, "]]>");
    if (b.at(i) == '?')
        return skipPast(b, i + 1, "?>");
    // A declaration; a DOCTYPE's internal subset holds "<!ENTITY ...>"
    // declarations whose quoted values are skipped with them.
    int depth = 0;
    const qsizetype end = scanUnquoted(b, i, [&b, &depth](qsizetype& k) {
        const char c = b.at(k);
        if (c == '[')
            ++depth;
        else if (c == ']')
            --depth;
        else if (c == '<' && b.mid(k + 1, 3) == "!--")
            k = skipPast(b, k + 4, "-->") - 1;
        return c != '>' || depth > 0;
    });
    return std::min(end + 1, b.size());
}

} // namespace

bool HasCrowdedElement(const QByteArray& b, int limit) {
    qsizetype i = 0;
    while ((i = b.indexOf('<', i)) >= 0) {
        ++i;
        if (i < b.size() && (b.at(i) == '!' || b.at(i) == '?')) {
            i = skipMarkup(b, i);
            continue;
        }
        int attributes = 0;
        i = scanUnquoted(b, i, [&b, &attributes](qsizetype k) {
            const char c = b.at(k);
            attributes += c == '=';
            return c != '>' && c != '<';
        });
        if (attributes > limit)
            return true;
    }
    return false;
}

EntityGuard::EntityGuard(xmlParserCtxt* ctxt, qint64 budget) : m_budget(budget) {
    ctxt->_private = this;
    ctxt->sax->entityDecl = OnEntityDecl;
    ctxt->sax->getEntity = OnGetEntity;
    ctxt->sax->getParameterEntity = OnGetParameterEntity;
}

void EntityGuard::OnEntityDecl(void* ctx, const xmlChar* name, int type, const xmlChar* publicId,
                               const xmlChar* systemId, xmlChar* content) {
    auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
    auto* guard = static_cast<EntityGuard*>(ctxt->_private);
    if (type != XML_INTERNAL_GENERAL_ENTITY && type != XML_INTERNAL_PARAMETER_ENTITY) {
        // Left undeclared: references to it find nothing and fail.
        guard->Refuse(ctxt, QStringLiteral("external entities are not allowed"));
        return;
    }
    xmlSAX2EntityDecl(ctx, name, type, publicId, systemId, content);
}

xmlEntity* EntityGuard::OnGetEntity(void* ctx, const xmlChar* name) {
    return Charged(ctx, xmlSAX2GetEntity(ctx, name));
}

xmlEntity* EntityGuard::OnGetParameterEntity(void* ctx, const xmlChar* name) {
    return Charged(ctx, xmlSAX2GetParameterEntity(ctx, name));
}

// libxml2 parses entity content in contexts of its own that share the
// outer context's handlers and _private, so every reference reaches the guard;
// should one not, the reference fails rather than going unchecked.
xmlEntity* EntityGuard::Charged(void* ctx, xmlEntity* entity) {
    auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
    auto* guard = static_cast<EntityGuard*>(ctxt->_private);
    if (guard)
        return guard->Charge(ctxt, entity);
    ctxt->wellFormed = 0;
    return nullptr;
}

xmlEntity* EntityGuard::Charge(xmlParserCtxt* ctxt, xmlEntity* entity) {
    if (!m_refusal.isEmpty()) {
        ctxt->wellFormed = 0;
        return nullptr;
    }
    if (!entity || entity->etype == XML_INTERNAL_PREDEFINED_ENTITY)
        return entity;
    m_spent = std::min(m_spent + ExpandedSize(entity, 0), m_budget + 1);
    if (m_spent > m_budget) {
        Refuse(ctxt, QStringLiteral("entities expand to more than %1 bytes").arg(m_budget));
        return nullptr;
    }
    return entity;
}

// The length of the entity's text with every entity it names replaced by
// that entity's text, measured once per entity. An entity that names itself,
// directly or not, or nests too deeply, measures as over the budget.
qint64 EntityGuard::ExpandedSize(xmlEntity* entity, int depth) {
    const qint64 over = m_budget + 1;
    if (const auto known = m_sizes.constFind(entity); known != m_sizes.cend())
        return *known < 0 ? over : *known;
    if (depth > kMaxEntityDepth || !entity->content)
        return entity->content ? over : 0;
    m_sizes.insert(entity, -1);
    const QByteArray text(reinterpret_cast<const char*>(entity->content), entity->length);
    qint64 size = 0;
    for (qsizetype i = 0; i < text.size() && size <= m_budget; ++i) {
        const char c = text.at(i);
        const qsizetype end = c == '&' || c == '%' ? text.indexOf(';', i + 1) : -1;
        if (end < 0) {
            ++size;
            continue;
        }
        const QByteArray name = text.mid(i + 1, end - i - 1);
        const auto* key = reinterpret_cast<const xmlChar*>(name.constData());
        xmlEntity* named =
            c == '&' ? xmlGetDocEntity(entity->doc, key) : xmlGetParameterEntity(entity->doc, key);
        // A character or predefined reference, or text, counts as written;
        // either way the scan goes on after the ";", so it stays linear.
        if (!named || named->etype == XML_INTERNAL_PREDEFINED_ENTITY)
            size += end - i + 1;
        else
            size += ExpandedSize(named, depth + 1);
        i = end;
    }
    size = std::min(size, over);
    m_sizes.insert(entity, size);
    return size;
}

void EntityGuard::Refuse(xmlParserCtxt* ctxt, const QString& reason) {
    if (m_refusal.isEmpty())
        m_refusal = reason;
    ctxt->wellFormed = 0;
}

} // namespace XmlLimits
