// "/check" and "/rollforward" through the built program: exit codes, messages, the file
// written (against a hand-laid next year's file) and nothing else written or changed.
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;

const fs::path kData = fs::path(CALDREN_TEST_DATA) / "analysis";

struct ToolCase {
    std::vector<std::string> args;
    int exit;
    const char* out;      // the whole standard output
    const char* err;      // the beginning of the error output
    const char* written;  // expected bytes of "next.cld", when it is to be written
};
// Test names show the command line, not the bytes of the pointers.
std::ostream& operator<<(std::ostream& os, const ToolCase& c) {
    for (const std::string& arg : c.args) os << arg << ' ';
    return os;
}

class Tools : public ::testing::TestWithParam<ToolCase> {
protected:
    testsupport::TempDir root;
    fs::path work = fs::path(root.path()) / "work";

    // Every entry of the work folder with its bytes.
    std::map<std::string, std::string> Contents() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(work))
            files[e.path().filename().string()] = e.is_directory() ? "<folder>"
                                                  : e.is_fifo()    ? "<pipe>"
                                                                   : ReadFile(e.path());
        return files;
    }
};

TEST_P(Tools, ExitCodesMessagesAndFiles) {
    const ToolCase& c = GetParam();
    fs::create_directories(work / "folder.cld");
    for (const auto& [from, to] : {std::pair{"rollforward_source.cld", "source.cld"},
                                   {"checks_clean_estimated.cld", "demo.cld"},
                                   {"checks_cogs.cld", "cogs.cld"},
                                   {"not_a_data_file.cld", "garbage.cld"}})
        fs::copy_file(kData / from, work / to);
    ::mkfifo((work / "pipe.cld").c_str(), 0644);
    // What a /rollforward killed in its write left; the next /rollforward removes it.
    testsupport::WriteFile(work / ".next.cld.0123abcd~", "left");
    auto before = Contents();
    const batchtest::RunResult r =
        batchtest::RunProgram(CALDREN_PROGRAM, c.args, fs::path(root.path()) / "home", work);
    EXPECT_EQ(c.exit, r.exitCode);
    EXPECT_EQ(c.out, r.out);
    EXPECT_EQ(c.err, r.err.substr(0, std::string(c.err).size()));
    auto after = Contents();
    if (c.args.back() == "next.cld") before.erase(".next.cld.0123abcd~");
    after.erase("stdout.txt");  // where the run's output was kept
    after.erase("stderr.txt");
    if (c.written) {
        EXPECT_EQ(ReadFile(kData / c.written), after["next.cld"]);
        after.erase("next.cld");
    }
    EXPECT_EQ(before, after);
}

const char* const kCogsListing =
    "cogs.cld: 1 finding\n  Cost of goods sold: Cost of Goods Sold is 5,300,000, but Beginning "
    "Inventory "
    "1,180,000 + Inventory Purchases 5,420,000 - Ending Inventory 1,265,000 = 5,335,000 (a "
    "difference of "
    "35,000).\n";

INSTANTIATE_TEST_SUITE_P(
    CommandLine, Tools,
    ::testing::Values(
        ToolCase{{"/check", "demo.cld"}, 0, "demo.cld: nothing looks wrong.\n", "", nullptr},
        ToolCase{{"/Check", "cogs.cld"}, 1, kCogsListing, "", nullptr},
        ToolCase{{"/check", "missing.cld"},
                 2,
                 "",
                 "CaldrenCalc: missing.cld does not exist.\n",
                 nullptr},
        ToolCase{{"/check", "folder.cld"},
                 2,
                 "",
                 "CaldrenCalc: folder.cld is a folder, not a data file.\n",
                 nullptr},
        ToolCase{{"/check", "garbage.cld"},
                 2,
                 "",
                 "CaldrenCalc: garbage.cld cannot be read: Type mismatch (error 13)\n",
                 nullptr},
        ToolCase{{"/check"}, 2, "", "CaldrenCalc: /check needs a data file", nullptr},
        ToolCase{{"/check", "folder.cld/demo.cld"},
                 2,
                 "",
                 "CaldrenCalc: folder.cld/demo.cld does not exist.\n",
                 nullptr},
        ToolCase{{"/check", "pipe.cld"},
                 2,
                 "",
                 "CaldrenCalc: pipe.cld is a pipe, not a data file.\n",
                 nullptr},
        ToolCase{{"/rollforward", "folder.cld/source.cld", "/output", "next.cld"},
                 1,
                 "",
                 "CaldrenCalc: folder.cld/source.cld does not exist.\n",
                 nullptr},
        ToolCase{{"/rollforward", "source.cld", "/output", "folder.cld.d/next.cld"},
                 1,
                 "",
                 "CaldrenCalc: folder.cld.d/next.cld cannot be written: ",
                 nullptr},
        ToolCase{{"/rollforward", "source.cld", "/output", "next.cld"},
                 0,
                 "Next year's analysis (year ending 02/29/2024) was written to next.cld.\n"
                 "Its second line now reads \"Fiscal Year Ended February 29, 2024\".\n",
                 "",
                 "rollforward_expected.cld"},
        ToolCase{{"/rollforward", "missing.cld", "/output", "next.cld"},
                 1,
                 "",
                 "CaldrenCalc: missing.cld does not exist.\n",
                 nullptr},
        ToolCase{{"/rollforward", "folder.cld", "/output", "next.cld"},
                 1,
                 "",
                 "CaldrenCalc: folder.cld is a folder, not a data file.\n",
                 nullptr},
        ToolCase{{"/rollforward", "garbage.cld", "/output", "next.cld"},
                 1,
                 "",
                 "CaldrenCalc: garbage.cld cannot be read: Type mismatch (error 13)\n",
                 nullptr},
        ToolCase{{"/rollforward", "source.cld", "/output", "demo.cld"},
                 1,
                 "",
                 "CaldrenCalc: demo.cld already exists; nothing was written.\n",
                 nullptr},
        ToolCase{{"/rollforward", "source.cld", "/output", "no folder/next.cld"},
                 1,
                 "",
                 "CaldrenCalc: no folder/next.cld cannot be written: ",
                 nullptr},
        ToolCase{{"/rollforward", "source.cld"},
                 2,
                 "",
                 "CaldrenCalc: /rollforward needs a data file",
                 nullptr}));

}  // namespace
