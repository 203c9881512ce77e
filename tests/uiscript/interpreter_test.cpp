#include "tools/uiscript/interpreter.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/uiscript/small_window.h"

#ifdef _WIN32
#include "tools/uiscript/win32_backend.h"
#else
#include "tools/uiscript/headless_backend.h"
#endif

namespace morvane::uiscript {
namespace {

namespace fs = std::filesystem;

class InterpreterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ =
            fs::path(::testing::TempDir()) /
            ("interpreter_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::remove_all(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    Outcome run(const std::string& script) {
        fs::remove_all(root_);
        fs::create_directories(root_ / "exe");
#ifdef _WIN32
        Win32Backend backend(root_ / "exe", smallWindow);
#else
        HeadlessBackend backend(root_ / "exe", root_ / "drives", smallWindow);
#endif
        return runScenario(parseScript(script), backend, root_);
    }

    fs::path root_;
};

TEST_F(InterpreterTest, PassingSessions) {
    const char* scripts[] = {
        "start\nexpect text Form1 \"Test\"\nexpect menu \"&Next\"\nexpect page 0\n"
        "expect hint ed \"Type here\"\nexpect hint boom \"\"\n"
        "menu muNext\nexpect page 1\nexpect focus memo\nexpect tabs tc \"One\" \"Two\" \"Three\"\n"
        "expect tab tc 0\nexpect disabled tc:1\nexpect enabled tc:0\ntab tc 2\n"
        "expect tab tc 2\nexpect focus tc\ntab tc 0\nexpect tab tc 0",
        // Keys go where the focus is, along the window's Tab order.
        "pick cancel\npick cancel\npick cancel\nstart\nexpect focus ed\npress tab\nexpect focus "
        "boom\npress shift+tab shift+tab\n"
        "expect focus cb\npress up\nexpect selected cb 0\npress down down down\nexpect selected cb "
        "2",
        "start\nkeys ed \"ab\\x08c\"\nexpect text ed \"ac\"\nkeys ed \"ab\\tc\"\nexpect text ed "
        "\"ab\"\n"
        "expect focus boom\npress space\nexpect failure \"boom\"",
        "start\npress tab tab tab\nexpect focus sb\nkeys sb \"7\"\npress up up\nexpect text sb "
        "\"9\"\n"
        "press tab left\nexpect focus sb2\npress backspace tab\nexpect text sb2 \"0.50\"\n"
        "expect focus cb",
        "answer yes\nstart\ntype ed \"ask\"\nexpect question \"Sure?\"\n"
        "expect message information \"yes\"\nexpect no-dialog",
        "start\nclick boom\nexpect failure \"boom\"\nexpect focus boom",
        "start\nclick boom\nexpect failure *",
        "start\nkeys sb \"4x2\"\nexpect text sb \"42\"\ntype sb \"4x2\"\nexpect text sb \"42\"",
        "start\nkeys sb \"5\\n7\"\nexpect text sb \"57\"\nkeys ed \"ab\\r\\ncd\"\nexpect text ed "
        "\"abcd\"",
        "start\nmenu muNext\nkeys memo \"x\\r\\ny\\n\"\ntype memo \"a\\nb\"\nexpect memo tc:0 "
        "<<END\na\nb\nEND\n"
        "keys memo \"x\\r\\ny\"\nexpect text memo \"x\\r\\ny\"",
        "locale \",\" \".\"\nstart\nexpect text sb2 \"0,75\"\nkeys sb2 \"0,5\"\nexpect text sb2 "
        "\"0,50\"",
        "pick 'x.txt'\nstart\nselect cb \"a\"\nexpect selected cb 0\nexpect picker file \"Pick "
        "a\"\n"
        "expect text ed '{E}\\x.txt'\nexpect focus cb",
        "pick cancel\nstart\nselect cb 2\nexpect selected cb 2\nexpect items cb \"a\" \"b\" \"a\"",
        "pick cancel\nstart\nclick folder\nexpect picker folder \"Select a directory\" 'C:\\'",
        "file 'sub\\a.ini' utf16le lf <<END\n[S]\n{E}\nEND\n"
        "expect file '{E}\\SUB\\A.INI' utf16le lf <<END\n[S]\n{E}\nEND\nexpect no-file 'b.ini'",
        "file 'C:\\UiscriptTest\\x.bin' escapes nofinal <<END\n\\x00\\xFF\nEND\n"
        "expect file 'c:\\uiscripttest\\X.bin' escapes nofinal <<END\n\\x00\\xFF\nEND",
        "start\ntype ed \"save\"\nexpect no-dialog\nexpect file 'out.txt' nofinal "
        "<<END\nsaved\nEND",
        "readonly 'OUT.TXT'\nstart\ntype ed \"save\"\nexpect message error \"refused\"\n"
        "expect no-file 'out.txt'",
        "start\ntype ed \"open\"\nexpect shell-open 'RUN.cmd'",
        "start\nmenu muNext\nexpect memo tc:0 <<END\nl1\n\n{l3}\nEND",
        "start\nclick boom\nscreenshot \"shot\"",
    };
    for (const char* script : scripts) {
        const Outcome outcome = run(script);
        EXPECT_TRUE(outcome.passed)
            << script << "\n-> line " << outcome.line << ": " << outcome.reason;
    }
}

TEST_F(InterpreterTest, FailuresNameTheLineAndTheReason) {
    const struct {
        const char* script;
        int line;
        const char* reason;  // part of the reason or of a detail
    } cases[] = {
        {"click boom", 1, "not been started"},
        {"start\nstart", 2, "already running"},
        {"start\nclick nope", 2, "no control nope"},
        {"start\nclick ed", 2, "not a button"},
        {"start\nmenu muHidden", 2, "muHidden is hidden"},
        {"start\ntype memo \"x\"", 2, "which TabControl1 does not show"},
        {"start\nmenu muNext\nclick chk", 3, "is disabled"},
        {"start\nmenu muNext\ntab tc 1", 3, "refused"},
        {"start\ntab TabControl1 1", 2, "shows no tabs"},
        {"start\nmenu muNext\ntab tc 3", 3, "has no tab 3"},
        {"start\ntype ed \"ask\"", 2, "with no answer queued"},
        {"start\nselect cb 0", 2, "with no pick queued"},
        {"answer no\nstart\ntype ed \"ask\"\nexpect message information \"no\"", 4,
         "question \"Sure?\""},
        {"start\nclick boom\nexpect no-dialog", 3, "failure \"boom\""},
        {"start\nexpect message error \"x\"", 2, "no dialog"},
        {"start\nselect cb \"z\"", 2, "no entry \"z\""},
        {"start\nexpect text Form1 \"Other\"", 2, "\"Test\""},
        {"start\nexpect items cb \"a\"", 2, "\"a\" \"b\" \"a\""},
        {"start\nexpect enabled tc:1", 2, "disabled"},
        {"start\nexpect focus boom", 2, "actual: ed"},
        {"start\nmenu muNext\nexpect hint ed \"Type here\"", 3, "cannot rest on it"},
        {"file 'a' <<END\nx\nEND\nexpect file 'a' lf <<END\nx\nEND", 4, "line 1"},
        {"expect file 'a' <<END\nEND", 1, "does not exist"},
        {"file 'a' <<END\nEND\nexpect no-file 'A'", 3, "exists"},
        {"file 'a' <<END\nРиг\nEND", 1, "ANSI"},
        {"start\nexpect shell-open 'run.cmd'", 2, "opened nothing"},
        {"start\nmenu muNext\nexpect memo tc:0 <<END\nl1\nEND", 3, "other lines"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = run(c.script);
        std::string said = outcome.reason;
        for (const auto& [label, value] : outcome.details) said += "\n" + label + ": " + value;
        EXPECT_FALSE(outcome.passed) << c.script;
        EXPECT_EQ(outcome.line, c.line) << c.script;
        EXPECT_NE(said.find(c.reason), std::string::npos) << c.script << "\n-> " << said;
    }
}

}  // namespace
}  // namespace morvane::uiscript
