#pragma once

#include "skin/XmlElement.h"

#include <QString>
#include <memory>

struct _xmlDoc;

// A parsed XML file (libxml2), owned for the lifetime of this object.
//
// Loading never throws: a file that is missing, unreadable, not a regular
// file, larger than kMaxSize, not well-formed or beyond the bounds of
// XmlLimits (entity expansion, attributes per element) gives an empty
// document, on which every lookup finds nothing. The reason is kept in
// ErrorText() for messages to skin authors. The declared character encoding
// of the file (for example gb2312) is honoured. The parser never reaches the
// network and refuses external DTDs and entities.
class XmlDocument {
public:
    // Skin descriptions are a few kilobytes; anything larger is not one.
    static constexpr qint64 kMaxSize = 1024 * 1024;

    XmlDocument();
    ~XmlDocument();
    XmlDocument(XmlDocument&&) noexcept;
    XmlDocument& operator=(XmlDocument&&) noexcept;

    static XmlDocument Load(const QString& path);
    static XmlDocument FromBytes(const QByteArray& bytes);

    bool IsEmpty() const { return !m_doc; }

    // Why the document is empty: a short English text from the reader or the
    // parser, with the line number where the parser stopped. Empty after a
    // successful load.
    const QString& ErrorText() const { return m_error; }

    // The root element.
    XmlElement Root() const;

    // The first element at `path`, a chain of element names joined by "/"
    // whose first name must be the root element's; see
    // XmlElement::SelectSingleNode for the matching rules.
    XmlElement SelectSingleNode(const QString& path) const;

private:
    struct DocFree {
        void operator()(_xmlDoc* doc) const;
    };
    std::unique_ptr<_xmlDoc, DocFree> m_doc;
    QString m_error;
};
