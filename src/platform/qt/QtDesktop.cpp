// Opens documents and addresses with QDesktopServices (xdg-open underneath)
// and starts programs without a shell.
#include "platform/qt/QtDesktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace ratiscope {

namespace {

QString QtText(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

bool IsWebAddress(const QString& target) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(target).hasMatch();
}

}  // namespace

bool TQtDesktop::OpenWithDefaultHandler(std::string_view target) {
    const QString t = QtText(target);
    if (t.isEmpty()) return false;
    const QUrl url = IsWebAddress(t) ? QUrl(t, QUrl::StrictMode) : QUrl::fromLocalFile(QDir::current().absoluteFilePath(t));
    if (!url.isValid()) return false;
    return QDesktopServices::openUrl(url);
}

bool TQtDesktop::Run(std::string_view program, std::span<const std::string> arguments) {
    QStringList args;
    for (const std::string& a : arguments) args << QtText(a);
    return QProcess::startDetached(QtText(program), args);
}

}  // namespace ratiscope
