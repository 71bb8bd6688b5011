#include "DeckConversion.h"

#include "MessageBox.h"
#include "QtText.h"
#include "QuestionFileHeader.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUuid>

#include <unistd.h>

namespace {

constexpr const char* kOtherDecks =
    "Decks of other programs (*.apkg *.colpkg *.cards *.kvtml)|*.apkg;*.colpkg;*.cards;*.kvtml|";
// A 512 MB package takes a while; a qld that takes longer than this is ended.
constexpr int kLongestConversionMs = 10 * 60 * 1000;

// Gives the converted file the first free name, without ever replacing a file: link() fails
// where the name is taken.
QString TakeFreeName(const QString& converted, const QFileInfo& deck) {
    const QString stem = deck.dir().filePath(deck.completeBaseName());
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? stem + ".qld" : stem + "-" + QString::number(n) + ".qld";
        if (::link(QFile::encodeName(converted).constData(), QFile::encodeName(name).constData()) ==
            0)
            return name;
        if (errno != EEXIST)
            return {};
    }
}

} // namespace

std::string WithOtherDecks(const std::string& dataFileFilter) {
    std::string filter = dataFileFilter;
    while (filter.ends_with('|'))
        filter.pop_back();
    return filter + "|" + kOtherDecks + "|";
}

bool IsOtherDeck(const std::string& path) {
    return QFileInfo(ToQString(path)).suffix().compare("qld", Qt::CaseInsensitive) != 0;
}

std::string ConvertDeck(const std::string& deck, const std::string& programFolder) {
    const QFileInfo source(ToQString(deck));
    // qld makes the file under a name of its own, which then becomes the free name.
    const QString converted =
        source.dir().filePath("." + source.completeBaseName() + "-" +
                              QUuid::createUuid().toString(QUuid::Id128) + ".qld");
    QProcess qld;
    qld.start(ToQString(programFolder) + "qld", {"import", "--", converted, source.filePath()});
    const bool finished = qld.waitForFinished(kLongestConversionMs);
    if (!finished) {
        qld.kill();
        qld.waitForFinished();
    }
    const QString summary = QString::fromUtf8(qld.readAllStandardOutput()).trimmed();
    QString problems = QString::fromUtf8(qld.readAllStandardError()).trimmed();
    const bool done = finished && qld.exitStatus() == QProcess::NormalExit && qld.exitCode() == 0;
    // A deck that gives no card is not worth a file.
    const bool cards = QFileInfo(converted).size() > kHeaderSize;
    const QString name = done && cards ? TakeFreeName(converted, source) : QString();
    QFile::remove(converted);
    if (name.isEmpty()) {
        if (done && !cards)
            problems = "it gives no cards" + (problems.isEmpty() ? "" : "\n" + problems);
        else if (problems.isEmpty())
            problems = finished ? qld.errorString() : "qld took too long";
        AfxMessageBox(ToStdString("Cannot convert " + source.fileName() + ":\n" + problems),
                      MB_OK | MB_ICONEXCLAMATION);
        return {};
    }
    QString text = summary;
    text.replace(converted, QFileInfo(name).fileName());
    if (!problems.isEmpty())
        text += "\n\n" + problems;
    AfxMessageBox(ToStdString(text), MB_OK | MB_ICONASTERISK);
    return ToStdString(name);
}
