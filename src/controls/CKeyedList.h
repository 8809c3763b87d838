#pragma once

#include "controls/CListItem.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <stdexcept>

// A key that the list cannot use: unknown, already taken, or a request the
// list rejects.
class ListKeyError : public std::invalid_argument {
public:
    enum Number { InvalidCall = 5, KeyTaken = 457 };
    ListKeyError(Number number, const char* what) : std::invalid_argument(what), m_number(number) {}
    Number ErrorNumber() const { return m_number; }

private:
    Number m_number;
};

// The keyed, ordered collection behind the list control: items in display
// order (positions 1..Count), each optionally under a unique non-empty key.
//
// Order is kept in a balanced tree that counts the items under each node, so
// appending, inserting, removing, finding the item at a position and the
// position of an item all take logarithmic time; a hash maps keys to items.
// Walking to the next or previous item is constant on average. The selected
// items are kept in a set of their own, so clearing a selection costs what
// was selected, not the whole list.
class CKeyedList {
    struct Node;

public:
    // Identifies a stored item until it is removed.
    using Handle = const Node*;

    CKeyedList();
    ~CKeyedList();
    CKeyedList(const CKeyedList&) = delete;
    CKeyedList& operator=(const CKeyedList&) = delete;

    int Count() const;
    void Clear();

    // Appends under `key` (empty: no key). Throws KeyTaken for a key in use.
    Handle Append(const QString& key, const CListItem& item);
    // Inserts under `key` before the item keyed `before`. Throws InvalidCall
    // for an unknown `before`, KeyTaken for a key in use.
    Handle InsertBefore(const QString& key, const CListItem& item, const QString& before);
    // Throws InvalidCall for an unknown key.
    void Remove(const QString& key);
    // Takes the item under `oldKey` out and puts it back under `newKey` before
    // the item keyed `before` (at the end when `before` is empty). Checks
    // everything first: on an error nothing has changed.
    void MoveTo(const QString& oldKey, const QString& newKey, const QString& before);

    Handle Find(const QString& key) const;
    Handle At(int position) const; // 1-based; nullptr outside 1..Count
    int PositionOf(Handle item) const;
    Handle First() const;
    Handle Last() const;
    Handle Next(Handle item) const;
    Handle Prev(Handle item) const;

    const CListItem& Item(Handle item) const;
    QString KeyOf(Handle item) const;
    // Replaces the stored record (the selection set follows iSelected).
    void Assign(Handle item, const CListItem& record);
    void SetSelected(Handle item, bool selected);
    void ClearSelection();
    int SelectedCount() const { return int(m_selected.size()); }
    // The selected item nearest the start, or nullptr.
    Handle FirstSelected() const;

private:
    static int SizeOf(const Node* node);
    static void Update(Node* node);
    void Split(Node* node, int count, Node*& left, Node*& right);
    Node* Merge(Node* left, Node* right);
    Node* NewNode(const QString& key, const CListItem& item);
    void InsertAt(Node* node, int position); // becomes the item at `position`
    Node* Detach(int position);
    void CheckKeyFree(const QString& key) const;
    static void Destroy(Node* node);
    quint32 NextPriority();

    Node* m_root = nullptr;
    QHash<QString, Node*> m_byKey;
    QSet<const Node*> m_selected;
    quint32 m_seed = 0x9E3779B9u;
};
