#include "winsvc/cSubclass.h"

#include "winsvc/SubclassChain.h"
#include "winsvc/iSubclass.h"

bool cSubclass::MessageList::Contains(int uMsg) const {
    return count == kAllMessages || (uMsg != 0 && numbers.contains(uMsg));
}

void cSubclass::MessageList::Add(int uMsg) {
    if (uMsg == kAllMessages) {
        count = kAllMessages;
        numbers.clear();
        return;
    }
    if (uMsg == 0 || count == kAllMessages || numbers.contains(uMsg)) {
        return; // 0 is no message; an every-message list already covers it
    }
    const qsizetype freeSlot = numbers.indexOf(0);
    if (freeSlot >= 0) {
        numbers[freeSlot] = uMsg;
    } else {
        numbers.append(uMsg);
    }
    count = int(numbers.size());
}

void cSubclass::MessageList::Delete(int uMsg) {
    if (uMsg == kAllMessages) {
        count = 0;
        numbers.clear();
        return;
    }
    if (uMsg == 0 || count == kAllMessages) {
        return;
    }
    const qsizetype at = numbers.indexOf(uMsg);
    if (at >= 0) {
        numbers[at] = 0;
    }
}

cSubclass::cSubclass(iSubclass* owner, QObject* parent) : QObject(parent), m_owner(owner) {
}

cSubclass::~cSubclass() {
    UnsubclassAll();
}

bool cSubclass::SubclassWindow(QObject* hWnd) {
    if (!hWnd) {
        return false;
    }
    if (IsSubclassed(hWnd)) {
        return true;
    }
    int index = FindEntry(nullptr);
    if (index < 0) {
        m_entries.append(Entry());
        index = int(m_entries.size()) - 1;
    }
    m_entries[index] = Entry();
    m_entries[index].window = hWnd;
    SubclassChain::Of(hWnd, true)->AddOwner(this);
    // An object that is destroyed while hooked frees its entry.
    connect(hWnd, &QObject::destroyed, this, [this, hWnd] {
        const int at = FindEntry(hWnd);
        if (at >= 0) {
            m_entries[at] = Entry();
        }
    });
    return true;
}

void cSubclass::AddMessage(QObject* hWnd, int uMsg, When when) {
    const int index = FindEntry(hWnd);
    if (index < 0) {
        return;
    }
    if (when & Before) {
        m_entries[index].before.Add(uMsg);
    }
    if (when & After) {
        m_entries[index].after.Add(uMsg);
    }
}

void cSubclass::DeleteMessage(QObject* hWnd, int uMsg, When when) {
    const int index = FindEntry(hWnd);
    if (index < 0) {
        return;
    }
    if (when & Before) {
        m_entries[index].before.Delete(uMsg);
    }
    if (when & After) {
        m_entries[index].after.Delete(uMsg);
    }
}

void cSubclass::UnsubclassWindow(QObject* hWnd) {
    const int index = FindEntry(hWnd);
    if (index >= 0) {
        FreeEntry(index);
    }
}

void cSubclass::UnsubclassAll() {
    for (int i = int(m_entries.size()) - 1; i >= 0; --i) {
        if (m_entries.at(i).window) {
            FreeEntry(i);
        }
    }
}

bool cSubclass::Covers(const QObject* hWnd, int uMsg, When list) const {
    const int index = FindEntry(hWnd);
    if (index < 0) {
        return false;
    }
    const Entry& entry = m_entries.at(index);
    return list == Before ? entry.before.Contains(uMsg) : entry.after.Contains(uMsg);
}

void cSubclass::Dispatch(bool bBefore, bool& bHandled, qint32& lReturn, QObject* hWnd, int uMsg,
                         QEvent* wParam, qintptr& lParam) {
    if (m_owner) {
        m_owner->zSubclass_Proc(bBefore, bHandled, lReturn, hWnd, uMsg, wParam, lParam);
    }
}

int cSubclass::FindEntry(const QObject* hWnd) const {
    for (int i = 0; i < int(m_entries.size()); ++i) {
        if (m_entries.at(i).window == hWnd) {
            return i;
        }
    }
    return -1;
}

void cSubclass::FreeEntry(int index) {
    QObject* window = m_entries.at(index).window;
    m_entries[index] = Entry();
    disconnect(window, &QObject::destroyed, this, nullptr);
    SubclassChain* chain = SubclassChain::Of(window, false);
    if (chain) {
        chain->RemoveOwner(this);
        if (chain->IsEmpty()) {
            // The chain may be delivering a message right now (an owner that
            // unhooks from its callback), so it goes later, but it is detached
            // at once so that a new hook of the object starts a fresh chain.
            window->removeEventFilter(chain);
            chain->setParent(nullptr);
            chain->deleteLater();
        }
    }
}
