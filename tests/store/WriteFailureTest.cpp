#include "StoreFixture.h"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

// Writes beyond a file-size limit fail, as on a full disk.
class WriteFailureTest : public StoreTest {
protected:
    WriteFailureTest() { ::getrlimit(RLIMIT_FSIZE, &m_saved); }
    ~WriteFailureTest() override {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    void LimitFileSize(rlim_t bytes) {
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
};

// The program ends with the file's path; an upgrade leaves the old file as it was, and nothing
// beside it.
TEST_F(WriteFailureTest, FailedWriteEndsTheProgramWithItsPath) {
    const std::vector<std::string> cannotWrite{"Cannot write the QLD file\n\n" + DataPath()};
    const Bytes old = OldFile(100, {0, 1});
    WriteFileBytes(DataPath(), old);
    LimitFileSize(old.size() + 50);
    EXPECT_EQ(ExitStatusOf([&] { CQuestionFile(host).Load(); }), 1);
    EXPECT_EQ(boxes.Texts(), cannotWrite);
    EXPECT_EQ(DataBytes(), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);

    LimitFileSize(RLIM_INFINITY);
    WriteFileBytes(DataPath(), CurrentFile(2));
    CQuestionFile file(host);
    LoadFile(file);
    LimitFileSize(DataBytes().size());
    boxes.Clear();
    EXPECT_EQ(ExitStatusOf([&] { file.AppendRecord(); }), 1);
    EXPECT_EQ(boxes.Texts(), cannotWrite);
    EXPECT_EQ(Int32At(DataBytes(), 4), 2) << "the header does not count the lost record";

    boxes.Clear();
    LimitFileSize(50);
    EXPECT_EQ(ExitStatusOf([&] { file.WriteHeader(); }), 1);
    EXPECT_EQ(boxes.Texts(), cannotWrite);
}
