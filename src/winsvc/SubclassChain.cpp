#include "winsvc/SubclassChain.h"

#include "winsvc/cSubclass.h"

#include <QEvent>

SubclassChain::SubclassChain(QObject* window) : QObject(window), m_window(window) {
    window->installEventFilter(this);
}

SubclassChain* SubclassChain::Of(QObject* window, bool create) {
    auto* chain = window->findChild<SubclassChain*>(QString(), Qt::FindDirectChildrenOnly);
    if (!chain && create) {
        chain = new SubclassChain(window);
    }
    return chain;
}

void SubclassChain::AddOwner(cSubclass* owner) {
    if (!m_owners.contains(owner)) {
        m_owners.append(owner);
    }
}

void SubclassChain::RemoveOwner(cSubclass* owner) {
    m_owners.removeIf([owner](const QPointer<cSubclass>& o) { return o.isNull() || o == owner; });
}

bool SubclassChain::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_window) {
        return false;
    }
    const int message = event->type();
    // A snapshot: callbacks may hook or unhook while the message is delivered.
    const QList<QPointer<cSubclass>> owners = m_owners;
    bool listed = false;
    for (const QPointer<cSubclass>& owner : owners) {
        if (owner && (owner->Covers(watched, message, cSubclass::Before) ||
                      owner->Covers(watched, message, cSubclass::After))) {
            listed = true;
            break;
        }
    }
    if (!listed) {
        return false;
    }
    const QPointer<QObject> alive(watched);
    const qint32 result = Run(owners, int(owners.size()) - 1, watched, event, alive);
    event->setAccepted(result != 0);
    return true;
}

qint32 SubclassChain::Run(const QList<QPointer<cSubclass>>& owners, int index, QObject* window,
                          QEvent* event, const QPointer<QObject>& alive) const {
    if (!alive) {
        return 0;
    }
    if (index < 0) {
        const bool handled = window->event(event);
        return handled && event->isAccepted() ? 1 : 0;
    }
    cSubclass* owner = owners.at(index);
    if (!owner || !owner->IsSubclassed(window)) {
        return Run(owners, index - 1, window, event, alive);
    }
    const int message = event->type();
    const QPointer<cSubclass> ownerAlive(owner);
    qint32 lReturn = 0;
    bool bHandled = false;
    qintptr lParam = 0;
    if (owner->Covers(window, message, cSubclass::Before)) {
        owner->Dispatch(true, bHandled, lReturn, window, message, event, lParam);
    }
    if (!bHandled) {
        lReturn = Run(owners, index - 1, window, event, alive);
    }
    if (alive && ownerAlive && owner->Covers(window, message, cSubclass::After)) {
        owner->Dispatch(false, bHandled, lReturn, window, message, event, lParam);
    }
    return lReturn;
}
