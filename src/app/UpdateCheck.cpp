#include "app/UpdateCheck.h"

#include "net/ModInternet.h"
#include "net/ServiceAddresses.h"
#include "winsvc/ProgramFolders.h"
#include "winsvc/Prompts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

const QString UpdateCheck::kOwnVersion = QStringLiteral("5.0.007");
const QString UpdateCheck::kUpdaterName = QStringLiteral("MelodeckUpdate");

UpdateCheck::UpdateCheck(Prompts& prompts, std::function<void()> quit)
    : m_prompts(prompts), m_quit(std::move(quit)), m_timeout(ModInternet::kTransferTimeout) {
}

bool UpdateCheck::OffersUpdate(const QString& versionFile) {
    // A trailing line break would otherwise make our own version look newer
    // (ours is a proper prefix of it), and an error page starting with "<"
    // sorts after any digit.
    QString first = versionFile.section(QLatin1Char('\n'), 0, 0).trimmed();
    // Editors on Windows like to start a UTF-8 file with a byte-order mark.
    if (first.startsWith(QChar(0xFEFF)))
        first = first.mid(1).trimmed();
    static const QRegularExpression version(QStringLiteral("^[0-9]+(\\.[0-9]+)*$"));
    if (!version.match(first).hasMatch())
        return false;
    return QString::compare(kOwnVersion, first, Qt::CaseSensitive) < 0;
}

void UpdateCheck::CheckForUpdate() {
    // An error page ("503", "404" with a number in it) is no version file.
    const ModInternet::HttpAnswer answer = ModInternet::HttpFetch(
        ServiceAddresses::VersionFileUrl(), m_timeout, m_wait, QStringLiteral("正在检查新版本..."));
    if (answer.Status != 200 || !OffersUpdate(answer.Body))
        return;
    if (!m_prompts.Ask(QStringLiteral("发现最新版本，是否确定升级？"),
                       QCoreApplication::applicationName()))
        return;
    // Quitting without an updater running would end the session for nothing.
    if (StartUpdater())
        m_quit();
}

QString UpdateCheck::UpdaterPath() {
    return ProgramDir() + QLatin1Char('/') + kUpdaterName;
}

bool UpdateCheck::StartUpdater() {
    const QString path = UpdaterPath();
    const QFileInfo file(path);
    if (!file.isFile() || !file.isExecutable()) {
        m_prompts.MsgBox(path + QStringLiteral(" 不存在或无法运行，无法升级"));
        return false;
    }
    if (!QProcess::startDetached(path, {kOwnVersion}, ProgramDir())) {
        m_prompts.MsgBox(path + QStringLiteral(" 无法启动，无法升级"));
        return false;
    }
    return true;
}
