#include "skin/ModTextFile.h"

#include "winsvc/LegacyText.h"
#include "winsvc/Prompts.h"
#include "winsvc/RegularFile.h"

#include <QDir>
#include <QSaveFile>
#include <algorithm>

namespace ModTextFile {
namespace {

QString localPath(const QString& path) {
    QString result = path;
    result.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return result;
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Compares the digit runs starting at a[i] and b[j] by value and moves both
// indices past them.
int compareNumbers(QStringView a, qsizetype& i, QStringView b, qsizetype& j) {
    auto run = [](QStringView s, qsizetype& k) {
        const qsizetype start = k;
        while (k < s.size() && isAsciiDigit(s[k]))
            ++k;
        QStringView digits = s.sliced(start, k - start);
        while (digits.size() > 1 && digits.front() == u'0')
            digits = digits.sliced(1);
        return digits;
    };
    const QStringView x = run(a, i);
    const QStringView y = run(b, j);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

int naturalCompare(QStringView a, QStringView b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isAsciiDigit(a[i]) && isAsciiDigit(b[j])) {
            if (const int c = compareNumbers(a, i, b, j))
                return c;
            continue;
        }
        const char32_t x = a[i].toCaseFolded().unicode();
        const char32_t y = b[j].toCaseFolded().unicode();
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

void sortNaturally(QStringList& names) {
    std::sort(names.begin(), names.end(), NaturalLess);
}

// Every line of `text` followed by CR LF; CR LF, LF and a lone CR all end a
// line, and a last line without an end gets one.
QString withCrLfLines(const QString& text) {
    QString result;
    result.reserve(text.size() + text.size() / 16 + 2);
    qsizetype lineStart = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (c != u'\r' && c != u'\n')
            continue;
        result += QStringView(text).sliced(lineStart, k - lineStart);
        result += QLatin1String("\r\n");
        if (c == u'\r' && k + 1 < text.size() && text[k + 1] == u'\n')
            ++k;
        lineStart = k + 1;
    }
    if (lineStart < text.size()) {
        result += QStringView(text).sliced(lineStart);
        result += QLatin1String("\r\n");
    }
    return result;
}

} // namespace

bool NaturalLess(const QString& a, const QString& b) {
    if (const int c = naturalCompare(a, b))
        return c < 0;
    return a < b;
}

QString ReadTextFile(const QString& path, Prompts& prompts) {
    return TryReadTextFile(path, prompts).value_or(QString());
}

std::optional<QString> TryReadTextFile(const QString& path, Prompts& prompts) {
    QString error;
    const std::optional<QByteArray> bytes =
        RegularFile::ReadAll(localPath(path), kMaxTextFileSize, error);
    if (!bytes) {
        prompts.MsgBox(path + QStringLiteral("文件读取错误"));
        return std::nullopt;
    }
    return withCrLfLines(LegacyText::FromGb18030(*bytes));
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(localPath(path));
    const bool ok =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok)
        file.cancelWriting();
    return ok;
}

bool WriteTextFile(const QString& path, const QString& text, Prompts& prompts) {
    const bool ok = WriteFileBytes(path, LegacyText::ToGb18030(text));
    if (!ok)
        prompts.MsgBox(path + QStringLiteral("文件保存错误"));
    return ok;
}

bool ListFiles(const QString& folder, QStringList& names, const QString& pattern) {
    const QDir dir(localPath(folder));
    // Without QDir::CaseSensitive the name filter ignores case; without
    // QDir::Hidden and QDir::System hidden files and special files stay out.
    QStringList found = dir.entryList(QStringList{pattern}, QDir::Files, QDir::Unsorted);
    if (found.isEmpty())
        return false;
    sortNaturally(found);
    names = found;
    return true;
}

std::optional<QList<FolderEntry>> ListSkinFolders(const QString& path) {
    QString folder = localPath(path);
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return std::nullopt;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QStringList subfolders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    sortNaturally(subfolders);
    QList<FolderEntry> entries;
    entries.reserve(subfolders.size());
    for (const QString& name : subfolders)
        entries.append(FolderEntry{name, folder + name});
    return entries;
}

} // namespace ModTextFile
