#include "service/CatalogueStore.h"
#include "service/ToneFile.h"
#include "tests/service/ServiceHttp.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace chimora::service;
using namespace chimora::service::testing;

namespace {

#ifdef CHIMORA_CATALOGUE_PROGRAM

struct Outcome {
    int status = -1;
    std::string out;
};

// Starts the program with its output on a pipe; answers the child's pid and the read end.
pid_t spawn(const std::vector<std::string>& args, int& readFd) {
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv;
    std::string program = CHIMORA_CATALOGUE_PROGRAM;
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (auto& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    readFd = fds[0];
    return pid;
}

Outcome run(const std::vector<std::string>& args) {
    Outcome r;
    int fd = -1;
    pid_t pid = spawn(args, fd);
    if (pid < 0)
        return r;
    char buf[4096];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;)
        r.out.append(buf, static_cast<std::size_t>(n));
    close(fd);
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class CatalogueCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "clitest-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        db_ = (dir_ / "cat" / "catalogue.db").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
    std::string db_;
};

TEST_F(CatalogueCommandTest, AddImportsACafToneWithItsDurationAndSize) {
    auto source = dir_ / "my tone.caf";
    ASSERT_TRUE(ToneFile::writeMelody(source, {{440, 1.0}, {660, 1.2}}, ToneFile::Wave::Sine));
    Outcome r = run({"add", source.string(), "--type", "4", "--recommended", "--db", db_});
    ASSERT_EQ(r.status, 0) << r.out;

    CatalogueStore store(db_);
    auto tones = store.allTones();
    ASSERT_EQ(tones.size(), 1u);
    const Tone& t = tones[0];
    EXPECT_EQ(t.name, "my tone.caf");
    EXPECT_EQ(t.type, 4);
    EXPECT_TRUE(t.recommended);
    EXPECT_EQ(t.duration, 2);
    auto bytes = fileBytes(source.string());
    EXPECT_NEAR(t.size, bytes.size() / 1024.0, 0.06);
    EXPECT_EQ(fileBytes((dir_ / "cat" / "files" / t.file).string()), bytes);
    EXPECT_EQ(fileBytes((dir_ / "cat" / "files" / t.icon).string()).substr(1, 3), "PNG");

    Outcome named = run({"add", source.string(), "--type", "1", "--name", "叮 当", "--db", db_});
    ASSERT_EQ(named.status, 0) << named.out;
    auto again = store.allTones();
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[1].name, "叮 当.caf");
    EXPECT_GT(again[1].id, again[0].id);
}

TEST_F(CatalogueCommandTest, AddRefusesWhatIsNotAnImportableTone) {
    auto text = dir_ / "notes.caf";
    {
        std::FILE* f = std::fopen(text.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("not audio at all", f);
        std::fclose(f);
    }
    auto good = dir_ / "good.caf";
    ASSERT_TRUE(ToneFile::writeMelody(good, {{440, 0.6}}, ToneFile::Wave::Square));
    struct Case {
        std::vector<std::string> args;
        const char* why;
    };
    const Case cases[] = {
        {{"add", text.string(), "--type", "1"}, "text named .caf"},
        {{"add", (dir_ / "missing.caf").string(), "--type", "1"}, "missing file"},
        {{"add", good.string()}, "no type"},
        {{"add", good.string(), "--type", "6"}, "type out of range"},
        {{"add", good.string(), "--type", "0"}, "list type, not a category"},
        {{"add", good.string(), "--type", "1", "--icon", text.string()}, "icon not PNG"},
        {{"add", good.string(), "--type", "1", "--bogus"}, "unknown option"},
    };
    for (const auto& c : cases) {
        auto args = c.args;
        args.insert(args.end(), {"--db", db_});
        Outcome r = run(args);
        EXPECT_NE(r.status, 0) << c.why << ": " << r.out;
    }
    // Refusals happen before the database is touched.
    std::filesystem::create_directories(dir_ / "cat");
    CatalogueStore store(db_);
    EXPECT_TRUE(store.allTones().empty());
}

TEST_F(CatalogueCommandTest, ConfigAndReleaseCommandsWriteTheStore) {
    ASSERT_EQ(run({"config", "set", "UPID_BBS_URL_En", "null", "--db", db_}).status, 0);
    ASSERT_EQ(run({"config", "set", "UPID_BBS_URL_En", "{{base}}bbs/", "--db", db_}).status, 0);
    ASSERT_EQ(run({"release", "1.10", "http://x.example/u", "--log", "Notes", "--db", db_}).status,
              0);
    EXPECT_NE(run({"release", "1.11", "http://x.example/u", "--db", db_}).status, 0);
    EXPECT_NE(run({"config", "get", "K", "--db", db_}).status, 0);

    CatalogueStore store(db_);
    EXPECT_EQ(store.config("UPID_BBS_URL_En"), "{{base}}bbs/");
    auto latest = store.latestRelease();
    ASSERT_TRUE(latest);
    EXPECT_EQ(latest->version, "1.10");
    EXPECT_EQ(latest->path, "http://x.example/u");
    EXPECT_EQ(latest->log, "Notes");
}

TEST_F(CatalogueCommandTest, EveryCommandHasHelp) {
    for (const char* command : {"serve", "seed", "add", "config", "release"}) {
        Outcome r = run({command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_NE(r.out.find(std::string("chimora-catalogue ") + command), std::string::npos)
            << r.out;
    }
    EXPECT_NE(run({"frobnicate"}).status, 0);
}

TEST_F(CatalogueCommandTest, ServeAnnouncesItsAddressAndStopsOnSigterm) {
    ASSERT_EQ(run({"seed", "--count", "3", "--db", db_}).status, 0);
    int fd = -1;
    pid_t pid = spawn({"serve", "--port", "0", "--db", db_}, fd);
    ASSERT_GT(pid, 0);
    std::string line;
    char c;
    while (read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    const std::string prefix = "listening on http://127.0.0.1:";
    ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
    int port = std::stoi(line.substr(prefix.size()));
    auto client = clientFor(port);
    auto res = client.Get("/api/get_tones.php?pageIndex=0&pageSize=20&type=0");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    JsonDoc doc(res->body);
    ASSERT_TRUE(doc.ok);
    EXPECT_EQ(doc.root["items"].get_array().value_unsafe().size(), 3u);

    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    close(fd);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

#endif

} // namespace
