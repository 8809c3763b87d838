#include "net/frmFetchProgress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmFetchProgress::frmFetchProgress(QWidget* parent)
    : QDialog(parent), lbWhat(new QLabel(this)), barBusy(new QProgressBar(this)),
      cmdCancel(new QPushButton(QStringLiteral("取消"), this)) {
    setWindowTitle(QCoreApplication::applicationName());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);
    // No range: the bar moves to and fro, as nothing says how long it takes.
    barBusy->setRange(0, 0);
    barBusy->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    // As big as its text: nothing in it gains from a larger window.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(lbWhat);
    layout->addWidget(barBusy);
    layout->addWidget(cmdCancel, 0, Qt::AlignRight);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmFetchProgress::SetWhat(const QString& what) {
    lbWhat->setText(what);
}
