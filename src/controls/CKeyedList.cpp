#include "controls/CKeyedList.h"

#include <utility>

// A treap ordered by position: `priority` keeps it balanced (a heap on
// priorities, expected depth logarithmic), `size` counts the node's subtree.
struct CKeyedList::Node {
    CListItem item;
    QString key;
    Node* left = nullptr;
    Node* right = nullptr;
    Node* parent = nullptr;
    int size = 1;
    quint32 priority = 0;
};

CKeyedList::CKeyedList() = default;

CKeyedList::~CKeyedList() {
    Destroy(m_root);
}

void CKeyedList::Destroy(Node* node) {
    // Recursion depth is the tree's height, which stays logarithmic.
    if (!node) {
        return;
    }
    Destroy(node->left);
    Destroy(node->right);
    delete node;
}

quint32 CKeyedList::NextPriority() {
    // xorshift32: cheap, and good enough to balance the tree.
    m_seed ^= m_seed << 13;
    m_seed ^= m_seed >> 17;
    m_seed ^= m_seed << 5;
    return m_seed;
}

int CKeyedList::Count() const {
    return SizeOf(m_root);
}

void CKeyedList::Clear() {
    Destroy(m_root);
    m_root = nullptr;
    m_byKey.clear();
    m_selected.clear();
}

int CKeyedList::SizeOf(const Node* node) {
    return node ? node->size : 0;
}

void CKeyedList::Update(Node* node) {
    node->size = 1 + SizeOf(node->left) + SizeOf(node->right);
    if (node->left) {
        node->left->parent = node;
    }
    if (node->right) {
        node->right->parent = node;
    }
}

// Splits off the first `count` items into `left`, the rest into `right`.
void CKeyedList::Split(Node* node, int count, Node*& left, Node*& right) {
    if (!node) {
        left = right = nullptr;
        return;
    }
    if (SizeOf(node->left) < count) {
        Split(node->right, count - SizeOf(node->left) - 1, node->right, right);
        left = node;
    } else {
        Split(node->left, count, left, node->left);
        right = node;
    }
    Update(node);
    if (left) {
        left->parent = nullptr;
    }
    if (right) {
        right->parent = nullptr;
    }
}

CKeyedList::Node* CKeyedList::Merge(Node* left, Node* right) {
    if (!left || !right) {
        Node* only = left ? left : right;
        if (only) {
            only->parent = nullptr;
        }
        return only;
    }
    if (left->priority > right->priority) {
        left->right = Merge(left->right, right);
        Update(left);
        left->parent = nullptr;
        return left;
    }
    right->left = Merge(left, right->left);
    Update(right);
    right->parent = nullptr;
    return right;
}

CKeyedList::Node* CKeyedList::NewNode(const QString& key, const CListItem& item) {
    Node* node = new Node;
    node->item = item;
    node->key = key;
    node->priority = NextPriority();
    return node;
}

void CKeyedList::InsertAt(Node* node, int position) {
    if (position > Count()) {
        m_root = Merge(m_root, node);
    } else {
        Node* left = nullptr;
        Node* right = nullptr;
        Split(m_root, position - 1, left, right);
        m_root = Merge(Merge(left, node), right);
    }
    if (!node->key.isEmpty()) {
        m_byKey.insert(node->key, node);
    }
    if (node->item.iSelected) {
        m_selected.insert(node);
    }
}

CKeyedList::Node* CKeyedList::Detach(int position) {
    Node* left = nullptr;
    Node* middle = nullptr;
    Node* right = nullptr;
    Split(m_root, position - 1, left, right);
    Split(right, 1, middle, right);
    m_root = Merge(left, right);
    middle->left = middle->right = middle->parent = nullptr;
    middle->size = 1;
    m_byKey.remove(middle->key);
    m_selected.remove(middle);
    return middle;
}

void CKeyedList::CheckKeyFree(const QString& key) const {
    if (!key.isEmpty() && m_byKey.contains(key)) {
        throw ListKeyError(ListKeyError::KeyTaken, "This key is already associated with an item");
    }
}

CKeyedList::Handle CKeyedList::Append(const QString& key, const CListItem& item) {
    CheckKeyFree(key);
    Node* node = NewNode(key, item);
    InsertAt(node, Count() + 1);
    return node;
}

CKeyedList::Handle CKeyedList::InsertBefore(const QString& key, const CListItem& item,
                                            const QString& before) {
    const Handle next = Find(before);
    if (!next) {
        throw ListKeyError(ListKeyError::InvalidCall, "No item has the key to insert before");
    }
    CheckKeyFree(key);
    const int position = PositionOf(next);
    Node* node = NewNode(key, item);
    InsertAt(node, position);
    return node;
}

void CKeyedList::Remove(const QString& key) {
    const Handle item = Find(key);
    if (!item) {
        throw ListKeyError(ListKeyError::InvalidCall, "No item has this key");
    }
    delete Detach(PositionOf(item));
}

void CKeyedList::MoveTo(const QString& oldKey, const QString& newKey, const QString& before) {
    const Handle item = Find(oldKey);
    if (!item) {
        throw ListKeyError(ListKeyError::InvalidCall, "No item has the key to move");
    }
    if (newKey != oldKey) {
        CheckKeyFree(newKey);
    }
    Handle next = nullptr;
    if (!before.isEmpty()) {
        next = Find(before);
        if (!next) {
            throw ListKeyError(ListKeyError::InvalidCall, "No item has the key to move before");
        }
    }
    if (next == item) {
        next = Next(item); // before itself: it stays where it is
    }
    Node* node = Detach(PositionOf(item));
    node->key = newKey;
    InsertAt(node, next ? PositionOf(next) : Count() + 1);
}

CKeyedList::Handle CKeyedList::Find(const QString& key) const {
    if (key.isEmpty()) {
        return nullptr;
    }
    return m_byKey.value(key, nullptr);
}

CKeyedList::Handle CKeyedList::At(int position) const {
    if (position < 1 || position > Count()) {
        return nullptr;
    }
    const Node* node = m_root;
    while (node) {
        const int before = SizeOf(node->left);
        if (position <= before) {
            node = node->left;
        } else if (position == before + 1) {
            return node;
        } else {
            position -= before + 1;
            node = node->right;
        }
    }
    return nullptr;
}

int CKeyedList::PositionOf(Handle item) const {
    int position = SizeOf(item->left) + 1;
    for (const Node* node = item; node->parent; node = node->parent) {
        if (node->parent->right == node) {
            position += SizeOf(node->parent->left) + 1;
        }
    }
    return position;
}

CKeyedList::Handle CKeyedList::First() const {
    const Node* node = m_root;
    while (node && node->left) {
        node = node->left;
    }
    return node;
}

CKeyedList::Handle CKeyedList::Last() const {
    const Node* node = m_root;
    while (node && node->right) {
        node = node->right;
    }
    return node;
}

CKeyedList::Handle CKeyedList::Next(Handle item) const {
    if (!item) {
        return nullptr;
    }
    if (item->right) {
        const Node* node = item->right;
        while (node->left) {
            node = node->left;
        }
        return node;
    }
    const Node* node = item;
    while (node->parent && node->parent->right == node) {
        node = node->parent;
    }
    return node->parent;
}

CKeyedList::Handle CKeyedList::Prev(Handle item) const {
    if (!item) {
        return nullptr;
    }
    if (item->left) {
        const Node* node = item->left;
        while (node->right) {
            node = node->right;
        }
        return node;
    }
    const Node* node = item;
    while (node->parent && node->parent->left == node) {
        node = node->parent;
    }
    return node->parent;
}

const CListItem& CKeyedList::Item(Handle item) const {
    return item->item;
}

QString CKeyedList::KeyOf(Handle item) const {
    return item->key;
}

void CKeyedList::Assign(Handle item, const CListItem& record) {
    const_cast<Node*>(item)->item = record;
    SetSelected(item, record.iSelected);
}

void CKeyedList::SetSelected(Handle item, bool selected) {
    const_cast<Node*>(item)->item.iSelected = selected;
    if (selected) {
        m_selected.insert(item);
    } else {
        m_selected.remove(item);
    }
}

void CKeyedList::ClearSelection() {
    for (const Node* node : std::as_const(m_selected)) {
        const_cast<Node*>(node)->item.iSelected = false;
    }
    m_selected.clear();
}

CKeyedList::Handle CKeyedList::FirstSelected() const {
    Handle best = nullptr;
    int bestPosition = 0;
    for (const Node* node : m_selected) {
        const int position = PositionOf(node);
        if (!best || position < bestPosition) {
            best = node;
            bestPosition = position;
        }
    }
    return best;
}
