// Time to paint a whole window once, offscreen, over 100 grabs each: the quiz window with a
// question, and the floor dialog, plain and with controls. Prints key=value lines.
//   paint_bench SKIN_PICTURE
#include "QuizDlg.h"
#include "floor.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kGrabs = 100;

class BenchHost : public IQuizHost {
public:
    explicit BenchHost(std::string folder) : m_folder(std::move(folder)) {}
    std::string GetDataFilePath() const override { return m_folder + "bench.qld"; }
    void SetDataFilePath(const std::string&) override {}
    std::string GetProgramFolder() const override { return m_folder; }
    int GetDisplayColors() const override { return 257; }
    void StoreCaption(const std::string&) override {}
    void Notify(const std::string& message) override {
        std::fprintf(stderr, "paint_bench: %s\n", message.c_str());
    }

private:
    std::string m_folder;
};

// Shows the window, then grabs it kGrabs times; prints the median, fastest and slowest.
void MeasureGrabs(const char* name, QWidget& window) {
    window.show();
    QCoreApplication::processEvents();
    std::vector<double> ms;
    for (int i = 0; i < kGrabs; ++i) {
        QElapsedTimer clock;
        clock.start();
        const QPixmap shot = window.grab();
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("paint.%s.median_ms=%.4f\n", name, ms[kGrabs / 2]);
    std::printf("paint.%s.fastest_ms=%.4f\n", name, ms.front());
    std::printf("paint.%s.slowest_ms=%.4f\n", name, ms.back());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SKIN_PICTURE\n", argv[0]);
        return 2;
    }
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]),
                     dir.filePath(QStringLiteral("backimg.bmp")))) {
        std::fprintf(stderr, "paint_bench: cannot copy %s\n", argv[1]);
        return 1;
    }
    BenchHost host(folder);
    {
        // A new data file with one question.
        CQuestionFile file(host);
        if (file.CreateNew().Failed() || file.AppendRecord().Failed() ||
            file.UpdateTexts(0, "What is the German word for 'butterfly'?", "Schmetterling")
                .Failed() ||
            file.SaveAndClose().Failed()) {
            std::fprintf(stderr, "paint_bench: cannot make the data file in %s\n", folder.c_str());
            return 1;
        }
    }
    std::printf("paint.grabs=%d\n", kGrabs);
    CQuizDlg quiz(host);
    quiz.Create();
    MeasureGrabs("quillow", quiz);
    quiz.DestroyWindow();

    QDialog floor;
    BuildFloorDialog(floor, FloorKind::Plain);
    MeasureGrabs("floor", floor);
    QDialog controls;
    BuildFloorDialog(controls, FloorKind::WithControls);
    MeasureGrabs("controls", controls);
    return 0;
}
