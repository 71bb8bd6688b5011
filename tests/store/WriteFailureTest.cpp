#include "StoreFixture.h"

#include <csignal>
#include <sys/resource.h>

// Writes beyond a file-size limit fail, as on a full disk.
class WriteFailureTest : public StoreTest {
protected:
    void SetUp() override {
        WriteFileBytes(DataPath(), CurrentFile(2));
        LoadFile(file);
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    void TearDown() override {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    void LimitFileSize(rlim_t bytes) {
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    std::vector<std::string> CannotWrite() const {
        return {"Cannot write the QLD file\n\n" + DataPath()};
    }

    CQuestionFile file{host};

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = SIG_DFL;
};

TEST_F(WriteFailureTest, FailedRecordWriteEndsTheProgram) {
    const Bytes before = DataBytes();
    LimitFileSize(before.size());
    EXPECT_EQ(ExitStatusOf([&] { file.AppendRecord(); }), 1);
    EXPECT_EQ(boxes.Texts(), CannotWrite());
    EXPECT_EQ(Int32At(DataBytes(), 4), 2) << "the header does not count the lost record";
}

TEST_F(WriteFailureTest, FailedHeaderWriteEndsTheProgram) {
    LimitFileSize(50);
    EXPECT_EQ(ExitStatusOf([&] { file.WriteHeader(); }), 1);
    EXPECT_EQ(boxes.Texts(), CannotWrite());
}
