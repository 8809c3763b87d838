#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

struct _xmlParserCtxt;
struct _xmlEntity;

// Bounds on what an XML document may cost to parse, beyond those libxml2
// 2.9 applies itself. That version checks a single attribute value against
// 10 MB but not the total: a 1 MiB file referencing a 200 KB entity from
// thousands of attributes still expands to gigabytes. And it finds duplicate
// attributes by comparing each with all before it, so an element with
// 150,000 attributes takes minutes.
namespace XmlLimits {

// Far more attributes than any element of a skin description carries, and
// few enough that the duplicate check stays instant.
inline constexpr int kMaxAttributesPerElement = 256;

// Whether some start tag of `bytes` carries more than `limit` attributes.
// Looks at the raw bytes before parsing (the parser's own check is what is
// slow), counting "=" outside quoted values inside element tags; comments,
// CDATA sections, processing instructions and declarations are skipped.
bool HasCrowdedElement(const QByteArray& bytes, int limit = kMaxAttributesPerElement);

// Entity expansion held to a budget. Entities stay usable (a skin may name a
// colour once and use it throughout), and the parser substitutes them as it
// reads, so attribute values are plain text. Every reference the parser
// resolves is charged the full size its entity expands to (nested entities
// included); once the total passes the budget, references resolve to nothing
// and the document is marked broken, so the rest is only scanned. External
// entities (and so every file or network access through them) are refused.
//
// Install on a parser context before parsing; the guard must outlive the
// parse.
class EntityGuard {
public:
    EntityGuard(_xmlParserCtxt* ctxt, qint64 budget);

    // Why the document was refused; empty while it is within bounds.
    const QString& Refusal() const { return m_refusal; }

private:
    static void OnEntityDecl(void* ctx, const unsigned char* name, int type,
                             const unsigned char* publicId, const unsigned char* systemId,
                             unsigned char* content);
    static _xmlEntity* OnGetEntity(void* ctx, const unsigned char* name);
    static _xmlEntity* OnGetParameterEntity(void* ctx, const unsigned char* name);

    static _xmlEntity* Charged(void* ctx, _xmlEntity* entity);
    _xmlEntity* Charge(_xmlParserCtxt* ctxt, _xmlEntity* entity);
    qint64 ExpandedSize(_xmlEntity* entity, int depth);
    void Refuse(_xmlParserCtxt* ctxt, const QString& reason);

    qint64 m_budget;
    qint64 m_spent = 0;
    QHash<const _xmlEntity*, qint64> m_sizes; // -1 while being measured
    QString m_refusal;
};

} // namespace XmlLimits
