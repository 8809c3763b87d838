#pragma once

#include <QDialog>
#include <QPointer>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The link dialog: the user names a singer, a song and a file type, and the
// dialog composes the link that the search turns into a playlist item. It is
// hidden, not destroyed, after each use, so its fields keep what was typed.
class frmMelodeckLink : public QDialog {
    Q_OBJECT
public:
    // The dialog opens with its top-left corner on `anchor`'s (the playlist
    // window's) top-left corner the first time it is shown.
    explicit frmMelodeckLink(QWidget* anchor = nullptr, QWidget* parent = nullptr);

    // The link the fields make now.
    QString ComposedLink() const;

    QLabel* lbSinger;
    QLineEdit* txtSinger;
    QLabel* lbSong;
    QLineEdit* txtSong;
    QLabel* lbType;
    // "All", "Mp3", "RM", "Wma", "Flash" with the type numbers as item data.
    QComboBox* cbType;
    QPushButton* cmdOK;

signals:
    // cmdOK was pressed; the dialog has hidden itself. Empty fields are not
    // refused: the search decides what they find.
    void LinkComposed(const QString& link);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cmdOK_Click();

    QPointer<QWidget> m_anchor;
    bool m_placed = false;
};
