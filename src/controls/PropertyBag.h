#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

// The store a control saves its design-time properties into and restores
// them from, one value per property name. Reading a name that was never
// written gives the property's default.
class PropertyBag {
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = QVariant()) const {
        const auto it = m_values.constFind(name);
        return it == m_values.constEnd() ? defaultValue : it.value();
    }

    void WriteProperty(const QString& name, const QVariant& value) { m_values.insert(name, value); }

    // Stores the value only when it differs from the property's default; a
    // value equal to the default leaves nothing stored, so reading gives the
    // default back.
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue) {
        if (value == defaultValue) {
            m_values.remove(name);
        } else {
            m_values.insert(name, value);
        }
    }

    bool Contains(const QString& name) const { return m_values.contains(name); }
    QStringList Names() const { return m_values.keys(); }

private:
    QMap<QString, QVariant> m_values;
};
