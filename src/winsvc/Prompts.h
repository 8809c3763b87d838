#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// Every message box, input box and file dialog of the program goes through
// this interface, so that tests can answer them without a window blocking.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message with an OK button.
    virtual void MsgBox(const QString& text, const QString& title = QString()) = 0;

    // A yes/no question; true for yes.
    virtual bool Ask(const QString& text, const QString& title = QString()) = 0;

    // A one-line text input; nothing when the user cancels.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText = QString()) = 0;

    // A file-open dialog for existing files. `filters` are Qt name filters
    // such as "音频文件 (*.mp3 *.wav)". Empty when cancelled.
    virtual QStringList OpenFiles(const QString& title, const QString& directory,
                                  const QStringList& filters, bool multiSelect) = 0;

    // A dialog choosing an existing folder; nothing when cancelled (and
    // wherever no one could answer one).
    virtual std::optional<QString> ChooseFolder(const QString& title) {
        Q_UNUSED(title);
        return std::nullopt;
    }

    // A dialog naming a file to save; nothing when cancelled.
    virtual std::optional<QString> SaveFileName(const QString& title, const QStringList& filters) {
        Q_UNUSED(title);
        Q_UNUSED(filters);
        return std::nullopt;
    }
};

// The real dialogs, parented to `parent` when given.
class DialogPrompts : public Prompts {
public:
    explicit DialogPrompts(QWidget* parent = nullptr) : m_parent(parent) {}

    void MsgBox(const QString& text, const QString& title = QString()) override;
    bool Ask(const QString& text, const QString& title = QString()) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText = QString()) override;
    QStringList OpenFiles(const QString& title, const QString& directory,
                          const QStringList& filters, bool multiSelect) override;
    std::optional<QString> ChooseFolder(const QString& title) override;
    std::optional<QString> SaveFileName(const QString& title, const QStringList& filters) override;

private:
    QWidget* m_parent;
};

// Shows nothing and answers every prompt with "no" or "cancel": for work
// whose problems have already been reported, or that no one is there to see.
class SilentPrompts : public Prompts {
public:
    void MsgBox(const QString&, const QString&) override {}
    bool Ask(const QString&, const QString&) override { return false; }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QStringList OpenFiles(const QString&, const QString&, const QStringList&, bool) override {
        return {};
    }
};
