// Log file lines, banners, the context as sink, and the exit status of escaping exceptions.
#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include "Engine/Context.h"
#include "Engine/FileLog.h"
#include "Engine/Logger.h"
#include "Engine/MountedPath.h"
#include "Server/ServerMain.h"

using namespace Ferrox3D;

namespace {

std::string Contents(CUnlimitedStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.GetData()), stream.GetLength());
}

struct CCapture : ILogSink {
    std::vector<std::pair<eLogType, std::string>> lines;
    void WriteLine(eLogType level, const char* text) override { lines.emplace_back(level, text); }
};

// Sends standard output to a file for the life of the object.
class CStdoutToFile {
public:
    explicit CStdoutToFile(const std::string& path) {
        fflush(stdout);
        m_Saved = dup(STDOUT_FILENO);
        FILE* pFile = fopen(path.c_str(), "w");
        dup2(fileno(pFile), STDOUT_FILENO);
        fclose(pFile);
    }
    ~CStdoutToFile() {
        fflush(stdout);
        dup2(m_Saved, STDOUT_FILENO);
        close(m_Saved);
    }

private:
    int m_Saved;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(FileLog, LinesPrefixesAndByteOrderMark) {
    CFileLog log;
    log.SetTimestampFormat("");
    log.WriteToLog(LOGTYPE_INFO, "dropped: no file yet");
    auto* pStream = new CUnlimitedStream();
    log.Open(pStream);
    log.WriteToLog(LOGTYPE_WARN, "w");
    log.WriteToLog(LOGTYPE_CRITICAL, "c");
    log.WriteToLog(LOGTYPE_NONE, "n");
    log.Close();
    std::string text = Contents(*pStream);
    pStream->Release();
    const std::string dash(60, '-');
    std::string expected = "\xEF\xBB\xBF" + dash + "\r\n--------------------- Logging Started ----------------------\r\n" +
                           dash + "\r\nFerrox 1.2.0\r\nPlatform: Linux\r\n";
    ASSERT_EQ(text.substr(0, expected.size()), expected);
    EXPECT_NE(text.find(dash + "\r\n[WARN]    w\r\n[CRITICAL]c\r\nn\r\n" + dash +
                        "\r\n---------------------- Logging Ended -----------------------\r\n" + dash + "\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("dropped"), std::string::npos);
}

TEST(FileLog, TimestampFormatIsCutAndAppendWritesNoSecondMark) {
    CFileLog log;
    log.SetTimestampFormat(std::string(100, 'y').c_str());
    EXPECT_EQ(log.GetTimestampFormat().size(), LOG_TIMESTAMP_FORMAT_MAX);
    log.SetTimestampFormat("[%Y]");
    EXPECT_EQ(log.FormatTimestamp().substr(0, 4), "<[20");
    auto* pStream = new CUnlimitedStream();
    pStream->Write("old\r\n", 5);
    log.Open(pStream);
    log.Close();
    std::string text = Contents(*pStream);
    pStream->Release();
    EXPECT_EQ(text.substr(0, 5), "old\r\n");
    EXPECT_EQ(text.find("\xEF\xBB\xBF"), std::string::npos);
    EXPECT_EQ(text.substr(5, 6), "<[20" + text.substr(9, 2));
}

TEST(Context, LinesFromThreadsNeverInterleave) {
    std::string folder = testing::TempDir() + "ctxlog" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    std::string console = folder + "/console.txt";
    {
        CStdoutToFile redirect(console);
        Context context;
        auto pFileSystem = std::make_unique<CFileSystem>();
        pFileSystem->Mount(std::make_unique<CMountedPath>(folder));
        context.SetFileSystem(std::move(pFileSystem));
        ASSERT_TRUE(context.OpenLogFile("."));
        std::vector<std::thread> threads;
        for (char mark = 'a'; mark < 'e'; ++mark) {
            threads.emplace_back([mark] {
                std::string line(300, mark);
                for (int i = 0; i < 200; ++i)
                    LogMessage(static_cast<eLogType>(1 + i % 6), "%s", line.c_str());
            });
        }
        for (auto& thread : threads)
            thread.join();
    }
    auto checkLines = [](const std::string& text, const char* what) {
        std::istringstream in(text);
        std::string line;
        int full = 0;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            size_t colourEnd = line.rfind("\x1b[0;0m");
            if (colourEnd != std::string::npos)
                line.resize(colourEnd);
            if (line.size() < 300)
                continue;
            std::string run = line.substr(line.size() - 300);
            ASSERT_EQ(run, std::string(300, run[0])) << what;
            ++full;
        }
        EXPECT_EQ(full, 800) << what;
    };
    checkLines(ReadAll(folder + "/ServerLog.log"), "log file");
    checkLines(ReadAll(console), "console");
    std::filesystem::remove_all(folder);
}

TEST(Context, UserAgentPiecesAndTrailingLineFeed) {
    CCapture capture;
    {
        Context context;
        context.AddUserAgent("A/1");
        context.AddUserAgent(" (B C)");
        context.AddUserAgent("D/2");
        EXPECT_EQ(context.GetUserAgent(), "A/1  (B C) D/2");
        EXPECT_EQ(g_pContext, &context);
    }
    EXPECT_EQ(g_pContext, nullptr);
    SetLogSink(&capture);
    LogError("one\n");
    LogWarn("two\n\n");
    SetLogSink(nullptr);
    ASSERT_EQ(capture.lines.size(), 2u);
    EXPECT_EQ(capture.lines[0], (std::pair<eLogType, std::string>{LOGTYPE_ERROR, "one"}));
    EXPECT_EQ(capture.lines[1], (std::pair<eLogType, std::string>{LOGTYPE_WARN, "two\n"}));
}

TEST(ServerMain, EscapingExceptionIsLoggedAndEndsInStatusOne) {
    CCapture capture;
    SetLogSink(&capture);
    int status = RunGuarded([]() -> int { throw std::out_of_range("slot 300"); });
    int unknown = RunGuarded([]() -> int { throw 5; });
    int fine = RunGuarded([] { return 0; });
    SetLogSink(nullptr);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(unknown, 1);
    EXPECT_EQ(fine, 0);
    ASSERT_EQ(capture.lines.size(), 2u);
    EXPECT_EQ(capture.lines[0].second, "An unhandled exception of type 'std::out_of_range' occurred: slot 300");
}

TEST(Logger, TextIsNeverAFormat) {
    CCapture capture;
    SetLogSink(&capture);
    Logger logger;
    logger.Log(LOGTYPE_WARN, "100%s %d");
    logger.LogFormatted(LOGTYPE_INFO, "%d%%", 5);
    SetLogSink(nullptr);
    ASSERT_EQ(capture.lines.size(), 2u);
    EXPECT_EQ(capture.lines[0], (std::pair<eLogType, std::string>{LOGTYPE_WARN, "100%s %d"}));
    EXPECT_EQ(capture.lines[1], (std::pair<eLogType, std::string>{LOGTYPE_INFO, "5%"}));
}
