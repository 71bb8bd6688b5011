// The sound player, a library loaded on the first sound: Qt Multimedia starts a whole media
// framework, which a program with its sound off never pays for.
#include <QSoundEffect>
#include <QUrl>

extern "C" Q_DECL_EXPORT void QuillowPlaySound(const char* path) {
    static QSoundEffect* effect = new QSoundEffect;
    const QUrl source = QUrl::fromLocalFile(QString::fromUtf8(path));
    if (effect->source() != source)
        effect->setSource(source);
    effect->play();
}
