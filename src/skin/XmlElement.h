#pragma once

#include <QString>
#include <optional>

struct _xmlNode;

// A non-owning handle to one element of an XmlDocument. It is valid only
// while the document it came from is alive; a null handle answers every
// question with "nothing".
class XmlElement {
public:
    XmlElement() = default;
    explicit XmlElement(_xmlNode* node) : m_node(node) {}

    bool IsNull() const { return m_node == nullptr; }

    // The element's name as written (with its prefix, if any).
    QString Name() const;

    // The first descendant at `path`, a chain of element names joined by
    // "/" and matched downwards from this element's children. Names are
    // compared exactly (case-sensitively); the first match in document order
    // wins. Empty segments match nothing.
    XmlElement SelectSingleNode(const QString& path) const;

    // The value of the attribute named exactly `name`, after the parser's
    // attribute-value processing (character and entity references resolved);
    // nothing when the element has no such attribute.
    std::optional<QString> Attribute(const QString& name) const;

private:
    _xmlNode* m_node = nullptr;
};
