#include "net/frmMelodeckLink.h"

#include "net/ModLink.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmMelodeckLink::frmMelodeckLink(QWidget* anchor, QWidget* parent)
    : QDialog(parent), lbSinger(new QLabel(QStringLiteral("歌手："), this)),
      txtSinger(new QLineEdit(this)), lbSong(new QLabel(QStringLiteral("歌曲："), this)),
      txtSong(new QLineEdit(this)), lbType(new QLabel(QStringLiteral("文件类型："), this)),
      cbType(new QComboBox(this)), cmdOK(new QPushButton(QStringLiteral("添加"), this)),
      m_anchor(anchor) {
    setWindowTitle(QStringLiteral("添加歌曲"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);

    using ModLink::LinkType;
    const std::pair<const char*, LinkType> types[] = {{"All", LinkType::All},
                                                      {"Mp3", LinkType::Mp3},
                                                      {"RM", LinkType::RM},
                                                      {"Wma", LinkType::Wma},
                                                      {"Flash", LinkType::Flash}};
    for (const auto& [name, type] : types)
        cbType->addItem(QString::fromLatin1(name), int(type));
    cbType->setCurrentIndex(0);
    lbSinger->setBuddy(txtSinger);
    lbSong->setBuddy(txtSong);
    lbType->setBuddy(cbType);
    cmdOK->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lbSinger, 0, 0);
    grid->addWidget(txtSinger, 0, 1);
    grid->addWidget(lbSong, 1, 0);
    grid->addWidget(txtSong, 1, 1);
    grid->addWidget(lbType, 2, 0);
    grid->addWidget(cbType, 2, 1);
    grid->addWidget(cmdOK, 3, 1, Qt::AlignRight);
    connect(cmdOK, &QPushButton::clicked, this, &frmMelodeckLink::cmdOK_Click);
}

QString frmMelodeckLink::ComposedLink() const {
    return ModLink::ComposeLink(txtSinger->text(), txtSong->text(), cbType->currentData().toInt());
}

void frmMelodeckLink::showEvent(QShowEvent* event) {
    if (!m_placed && m_anchor) {
        move(m_anchor->frameGeometry().topLeft());
        m_placed = true;
    }
    QDialog::showEvent(event);
}

void frmMelodeckLink::cmdOK_Click() {
    const QString link = ComposedLink();
    // Hidden first: the search the link starts blocks, and the dialog must
    // not stay on top of the list it is adding to meanwhile.
    accept();
    emit LinkComposed(link);
}
