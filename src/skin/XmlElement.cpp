#include "skin/XmlElement.h"

#include <QStringList>
#include <libxml/tree.h>
#include <libxml/xmlmemory.h>
#include <memory>

namespace {

struct XmlCharFree {
    void operator()(xmlChar* text) const { xmlFree(text); }
};
using XmlText = std::unique_ptr<xmlChar, XmlCharFree>;

QString fromXml(const xmlChar* text) {
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

// The name as written in the file: "prefix:local" or "local".
QString qualifiedName(const xmlNs* ns, const xmlChar* name) {
    const QString local = fromXml(name);
    if (ns && ns->prefix)
        return fromXml(ns->prefix) + QLatin1Char(':') + local;
    return local;
}

// Depth-first over the children of `parent` so that, all matches lying at the
// same depth, the first one found is the first in document order.
xmlNode* findPath(xmlNode* parent, const QStringList& names, qsizetype index) {
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE ||
            qualifiedName(child->ns, child->name) != names[index])
            continue;
        if (index + 1 == names.size())
            return child;
        if (xmlNode* found = findPath(child, names, index + 1))
            return found;
    }
    return nullptr;
}

} // namespace

QString XmlElement::Name() const {
    return m_node ? qualifiedName(m_node->ns, m_node->name) : QString();
}

XmlElement XmlElement::SelectSingleNode(const QString& path) const {
    if (!m_node)
        return {};
    const QStringList names = path.split(QLatin1Char('/'));
    for (const QString& name : names) {
        if (name.isEmpty())
            return {};
    }
    return XmlElement(findPath(m_node, names, 0));
}

std::optional<QString> XmlElement::Attribute(const QString& name) const {
    if (!m_node || m_node->type != XML_ELEMENT_NODE)
        return std::nullopt;
    for (xmlAttr* attr = m_node->properties; attr; attr = attr->next) {
        if (qualifiedName(attr->ns, attr->name) != name)
            continue;
        // The values of all text and entity-reference children in one
        // buffer, in linear time (joining them pairwise, as
        // xmlNodeListGetString does, is quadratic in their number).
        XmlText value(xmlNodeGetContent(reinterpret_cast<xmlNode*>(attr)));
        return value ? fromXml(value.get()) : QString(QLatin1String(""));
    }
    return std::nullopt;
}
