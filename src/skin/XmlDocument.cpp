#include "skin/XmlDocument.h"

#include "skin/XmlLimits.h"
#include "winsvc/RegularFile.h"

#include <QStringList>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

namespace {

// Entities may add at most this many times the document's own size.
constexpr qint64 kExpansionFactor = 4;

struct ParserCtxtFree {
    void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};
using ParserCtxt = std::unique_ptr<xmlParserCtxt, ParserCtxtFree>;

// XML_PARSE_NOENT substitutes entities while parsing, where the guard
// charges each reference (see XmlLimits::EntityGuard) and attribute values
// become plain text. Refusing internal entities instead would have been
// simpler, but documents that use them for what they are meant for would
// stop loading; and libxml2 2.9's own amplification checks alone bound a
// single attribute value (10 MB), not a document.
constexpr int kParseOptions =
    XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

QString describe(const xmlError* error) {
    if (!error || !error->message)
        return QStringLiteral("not a well-formed XML document");
    const QString message = QString::fromUtf8(error->message).trimmed();
    if (error->line > 0)
        return QStringLiteral("line %1: %2").arg(error->line).arg(message);
    return message;
}

} // namespace

void XmlDocument::DocFree::operator()(_xmlDoc* doc) const {
    xmlFreeDoc(doc);
}

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&&) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&&) noexcept = default;

XmlDocument XmlDocument::Load(const QString& path) {
    QString localPath = path;
    localPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString error;
    const std::optional<QByteArray> bytes = RegularFile::ReadAll(localPath, kMaxSize, error);
    if (!bytes) {
        XmlDocument result;
        result.m_error = error;
        return result;
    }
    return FromBytes(*bytes);
}

XmlDocument XmlDocument::FromBytes(const QByteArray& bytes) {
    XmlDocument result;
    if (bytes.size() > kMaxSize) {
        result.m_error = QStringLiteral("the file is larger than %1 bytes").arg(kMaxSize);
        return result;
    }
    if (XmlLimits::HasCrowdedElement(bytes)) {
        result.m_error = QStringLiteral("an element has more than %1 attributes")
                             .arg(XmlLimits::kMaxAttributesPerElement);
        return result;
    }
    ParserCtxt ctxt(xmlNewParserCtxt());
    if (!ctxt) {
        result.m_error = QStringLiteral("out of memory");
        return result;
    }
    const XmlLimits::EntityGuard guard(ctxt.get(), kExpansionFactor * bytes.size());
    // Without a declared encoding libxml2 takes UTF-8 (or a byte-order mark);
    // with one, it converts from that encoding.
    xmlDoc* doc = xmlCtxtReadMemory(ctxt.get(), bytes.constData(), int(bytes.size()), nullptr,
                                    nullptr, kParseOptions);
    if (!guard.Refusal().isEmpty()) {
        xmlFreeDoc(doc);
        result.m_error = guard.Refusal();
        return result;
    }
    if (!doc) {
        result.m_error = describe(xmlCtxtGetLastError(ctxt.get()));
        return result;
    }
    result.m_doc.reset(doc);
    return result;
}

XmlElement XmlDocument::Root() const {
    return m_doc ? XmlElement(xmlDocGetRootElement(m_doc.get())) : XmlElement();
}

XmlElement XmlDocument::SelectSingleNode(const QString& path) const {
    const XmlElement root = Root();
    if (root.IsNull())
        return {};
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    const QString first = slash < 0 ? path : path.left(slash);
    if (first.isEmpty() || root.Name() != first)
        return {};
    if (slash < 0)
        return root;
    return root.SelectSingleNode(path.mid(slash + 1));
}
