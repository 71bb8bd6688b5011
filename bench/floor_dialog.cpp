// The toolkit's floor: a plain Qt dialog of the quiz window's size that does nothing. With
// --controls it also shows controls like the quiz window's, with a question's text, to tell the
// cost of the toolkit's text and widgets from the program's own.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstring>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setFixedSize(506, 170);
    if (argc > 1 && std::strcmp(argv[1], "--controls") == 0) {
        (new QLabel(QStringLiteral("Capital of France?"), &dialog))->setGeometry(14, 14, 412, 64);
        (new QPlainTextEdit(&dialog))->setGeometry(8, 100, 422, 62);
        for (int i = 0; i < 6; ++i)
            (new QPushButton(QStringLiteral("Answer"), &dialog))
                ->setGeometry(448, 30 + 22 * i, 50, 20);
    }
    dialog.show();
    return application.exec();
}
