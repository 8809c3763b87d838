#include "skin/XmlDocument.h"

#include <QFile>
#include <QStringList>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

namespace {

// Skin descriptions are a few kilobytes; anything this large is not one, and
// the parser takes the length as an int.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

struct ParserCtxtFree {
    void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};
using ParserCtxt = std::unique_ptr<xmlParserCtxt, ParserCtxtFree>;

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

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
    QFile file(localPath);
    XmlDocument result;
    if (!file.open(QIODevice::ReadOnly)) {
        result.m_error = QStringLiteral("cannot open the file: %1").arg(file.errorString());
        return result;
    }
    if (file.size() > kMaxFileSize) {
        result.m_error = QStringLiteral("the file is too large");
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.m_error = QStringLiteral("cannot read the file: %1").arg(file.errorString());
        return result;
    }
    return FromBytes(bytes);
}

XmlDocument XmlDocument::FromBytes(const QByteArray& bytes) {
    XmlDocument result;
    if (bytes.size() > kMaxFileSize) {
        result.m_error = QStringLiteral("the file is too large");
        return result;
    }
    ParserCtxt ctxt(xmlNewParserCtxt());
    if (!ctxt) {
        result.m_error = QStringLiteral("out of memory");
        return result;
    }
    // Without a declared encoding libxml2 takes UTF-8 (or a byte-order mark);
    // with one, it converts from that encoding.
    xmlDoc* doc = xmlCtxtReadMemory(ctxt.get(), bytes.constData(), int(bytes.size()), nullptr,
                                    nullptr, kParseOptions);
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
