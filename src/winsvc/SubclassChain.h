#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class cSubclass;

// The hook chain of one object: every cSubclass that hooked the object, in the
// order they hooked it. It is a child of the hooked object and filters that
// object's events; the last owner to hook is called first, and calling "the
// previous procedure" of an owner means running the owners hooked before it and
// finally the object's own event handling.
//
// When no owner lists a message, the event passes through untouched. When one
// does, the chain delivers the event itself (event filters installed on the
// object before its first hook are not consulted for such messages).
class SubclassChain : public QObject {
    Q_OBJECT
public:
    static SubclassChain* Of(QObject* window, bool create);

    void AddOwner(cSubclass* owner);
    void RemoveOwner(cSubclass* owner);
    bool IsEmpty() const { return m_owners.isEmpty(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SubclassChain(QObject* window);
    qint32 Run(const QList<QPointer<cSubclass>>& owners, int index, QObject* window, QEvent* event,
               const QPointer<QObject>& alive) const;

    QObject* m_window;
    QList<QPointer<cSubclass>> m_owners;
};
