#pragma once

#include <QList>
#include <QObject>

class iSubclass;

// Per-object message hook: lets its owner see chosen events of any number of
// objects before and/or after the objects' own handling (see iSubclass for the
// callback). For each event of a hooked object:
//   1. the owner is called with bBefore = true if the before list covers it;
//   2. unless that call set bHandled, the object handles the event itself;
//   3. the owner is called with bBefore = false if the after list covers it,
//      whether or not the event was handled in step 1.
// Message numbers are QEvent types (custom ones included); kAllMessages makes a
// list cover every message. Hooks are re-entrant: events caused inside a
// callback come back through the same hook.
class cSubclass : public QObject {
    Q_OBJECT
public:
    enum When { Before = 1, After = 2, Both = 3 };
    static constexpr int kAllMessages = -1;

    explicit cSubclass(iSubclass* owner, QObject* parent = nullptr);
    ~cSubclass() override;

    // Hooks an object. Hooking an object this owner already hooks keeps the
    // one existing entry (a second entry would call the owner twice).
    bool SubclassWindow(QObject* hWnd);
    void AddMessage(QObject* hWnd, int uMsg, When when);
    void DeleteMessage(QObject* hWnd, int uMsg, When when);
    void UnsubclassWindow(QObject* hWnd);
    void UnsubclassAll();

    bool IsSubclassed(const QObject* hWnd) const { return FindEntry(hWnd) >= 0; }
    bool Covers(const QObject* hWnd, int uMsg, When list) const;
    int EntryCount() const { return int(m_entries.size()); }

    // Called by the hook chain to reach the owner.
    void Dispatch(bool bBefore, bool& bHandled, qint32& lReturn, QObject* hWnd, int uMsg,
                  QEvent* wParam, qintptr& lParam);

private:
    // A list of message numbers: count -1 covers every message, a 0 entry is a free slot.
    struct MessageList {
        int count = 0;
        QList<int> numbers;
        bool Contains(int uMsg) const;
        void Add(int uMsg);
        void Delete(int uMsg);
    };
    struct Entry {
        QObject* window = nullptr; // nullptr marks a free entry
        MessageList before;
        MessageList after;
    };

    int FindEntry(const QObject* hWnd) const;
    void FreeEntry(int index);

    iSubclass* m_owner;
    QList<Entry> m_entries;
};
