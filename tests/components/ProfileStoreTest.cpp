// The private-profile store: exact file bytes, matching, order, encodings, bad input,
// limits, file errors, batches and crash safety.

#include <profilestore/ProfileStore.h>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <random>
#include <signal.h>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>

using activation::ComError;
using profilestore::ProfileStore;
using testsupport::ReadFile;
using testsupport::RunUnprivileged;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

const std::string kSection = "Caldren Formula Calculation";

// Runs `body` and returns the ComError it throws (fails the test when it throws none).
template <class F>
ComError ErrorOf(F&& body) {
    try {
        body();
    } catch (const ComError& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return ComError(0, "");
}

class ProfileStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string file = dir / "acme.cld";
    ProfileStore store;

    void SetUp() override { store.SetFileName(file); }
};

// --- writing: exact bytes -------------------------------------------------------------

TEST_F(ProfileStoreTest, FirstWriteCreatesSectionAndEntryWithCrLf) {
    store.WriteEntry(kSection, "Version", "CLD2026.12");
    EXPECT_EQ(ReadFile(file), "[Caldren Formula Calculation]\r\nVersion=CLD2026.12\r\n");
}

TEST_F(ProfileStoreTest, KeysAndValuesKeptExactly) {
    store.WriteEntry(kSection, "Cost of Goods Sold - Next Year", "1,234,567");
    store.WriteEntry(kSection, "End-of-Year Months", "06/30/2026");
    store.WriteEntry(kSection, "Name", "  Acme, Inc. / Tools  ");
    store.WriteEntry(kSection, "Line 2", "a=b=c");
    store.WriteEntry(kSection, "Empty", "");
    EXPECT_EQ(ReadFile(file),
              "[Caldren Formula Calculation]\r\n"
              "Cost of Goods Sold - Next Year=1,234,567\r\n"
              "End-of-Year Months=06/30/2026\r\n"
              "Name=  Acme, Inc. / Tools  \r\n"
              "Line 2=a=b=c\r\n"
              "Empty=\r\n");
    EXPECT_EQ(store.ReadEntry(kSection, "Name", "?"), "  Acme, Inc. / Tools  ");
    EXPECT_EQ(store.ReadEntry(kSection, "Line 2", "?"), "a=b=c");
    EXPECT_EQ(store.ReadEntry(kSection, "Empty", "?"), "");
    EXPECT_EQ(store.ReadEntry(kSection, "Cost of Goods Sold - Next Year", "?"), "1,234,567");
}

TEST_F(ProfileStoreTest, ReplacingAValueKeepsEverythingElseInPlace) {
    WriteFile(file,
              "; made by hand\r\n"
              "[Other]\r\n"
              "A=1\r\n"
              "\r\n"
              "[Caldren Formula Calculation]\r\n"
              "Version=CLD2008.10\r\n"
              "Name=Old Name\r\n"
              "just a note\r\n"
              "Line 2=x\r\n"
              "\r\n"
              "[Last]\r\n"
              "Z=26\r\n");
    store.WriteEntry("caldren formula CALCULATION", "NAME", "New Name");
    EXPECT_EQ(ReadFile(file),
              "; made by hand\r\n"
              "[Other]\r\n"
              "A=1\r\n"
              "\r\n"
              "[Caldren Formula Calculation]\r\n"
              "Version=CLD2008.10\r\n"
              "Name=New Name\r\n"
              "just a note\r\n"
              "Line 2=x\r\n"
              "\r\n"
              "[Last]\r\n"
              "Z=26\r\n");
}

TEST_F(ProfileStoreTest, NewKeyGoesAfterTheLastEntryOfItsSectionAndNewSectionAtTheEnd) {
    WriteFile(file,
              "[Other]\r\n"
              "A=1\r\n"
              "\r\n"
              "[Caldren Formula Calculation]\r\n"
              "Version=CLD2008.10\r\n"
              "\r\n"
              "[Last]\r\n"
              "Z=26\r\n");
    store.WriteEntry(kSection, "Name", "Acme");
    store.WriteEntry("Other", "B", "2");
    store.WriteEntry("Brand New", "K", "v");
    EXPECT_EQ(ReadFile(file),
              "[Other]\r\n"
              "A=1\r\n"
              "B=2\r\n"
              "\r\n"
              "[Caldren Formula Calculation]\r\n"
              "Version=CLD2008.10\r\n"
              "Name=Acme\r\n"
              "\r\n"
              "[Last]\r\n"
              "Z=26\r\n"
              "[Brand New]\r\n"
              "K=v\r\n");
}

TEST_F(ProfileStoreTest, NewKeyInASectionWithoutEntriesFollowsItsHeader) {
    WriteFile(file, "[Empty]\r\n\r\n[Next]\r\nX=1\r\n");
    store.WriteEntry("empty", "K", "v");
    EXPECT_EQ(ReadFile(file), "[Empty]\r\nK=v\r\n\r\n[Next]\r\nX=1\r\n");
}

TEST_F(ProfileStoreTest, LfAndLoneCrFilesAreReadAndRewrittenWithCrLf) {
    WriteFile(file, "[S]\nA=1\rB=2\r\nC=3");
    EXPECT_EQ(store.ReadEntry("S", "A", "?"), "1");
    EXPECT_EQ(store.ReadEntry("S", "B", "?"), "2");
    EXPECT_EQ(store.ReadEntry("S", "C", "?"), "3");
    store.WriteEntry("S", "B", "two");
    EXPECT_EQ(ReadFile(file), "[S]\r\nA=1\r\nB=two\r\nC=3\r\n");
}

TEST_F(ProfileStoreTest, ByteOrderMarkIsSkippedAndKept) {
    WriteFile(file, "\xEF\xBB\xBF[S]\r\nA=1\r\n");
    EXPECT_EQ(store.ReadEntry("S", "A", "?"), "1");
    store.WriteEntry("S", "A", "2");
    EXPECT_EQ(ReadFile(file), "\xEF\xBB\xBF[S]\r\nA=2\r\n");
}

TEST_F(ProfileStoreTest, Utf8TextIsWrittenAsUtf8) {
    store.WriteEntry(kSection, "Name", "Caf\xC3\xA9 M\xC3\xBCller \xE2\x82\xAC");
    EXPECT_EQ(ReadFile(file),
              "[Caldren Formula Calculation]\r\nName=Caf\xC3\xA9 M\xC3\xBCller \xE2\x82\xAC\r\n");
    EXPECT_EQ(store.ReadEntry(kSection, "name", "?"), "Caf\xC3\xA9 M\xC3\xBCller \xE2\x82\xAC");
}

// --- reading: matching -----------------------------------------------------------------

TEST_F(ProfileStoreTest, SectionsAndKeysMatchWithoutRegardToCase) {
    WriteFile(file, "[CALDREN formula Calculation]\r\nnet SALES=1,000\r\n");
    EXPECT_EQ(store.ReadEntry(kSection, "Net Sales", "?"), "1,000");
    EXPECT_EQ(store.ReadEntry("caldren formula calculation", "NET SALES", "?"), "1,000");
    EXPECT_EQ(store.ReadEntry(kSection, "Net Sale", "?"), "?");
}

TEST_F(ProfileStoreTest, NonAsciiLettersMatchWithoutRegardToCase) {
    WriteFile(file, "[\xC3\x89T\xC3\x89]\r\n\xC3\x84PFEL=1\r\n");  // [ÉTÉ] ÄPFEL=1
    EXPECT_EQ(store.ReadEntry("\xC3\xA9t\xC3\xA9", "\xC3\xA4pfel", "?"), "1");  // été äpfel
}

TEST_F(ProfileStoreTest, BlanksAroundKeysAndSectionNamesDoNotMatter) {
    WriteFile(file, "  [ S ]  \r\n  Key  =value \r\n");
    EXPECT_EQ(store.ReadEntry("S", "Key", "?"), "value ");
    store.WriteEntry("S", "key", "new");
    EXPECT_EQ(ReadFile(file), "  [ S ]  \r\n  Key  =new\r\n");
}

TEST_F(ProfileStoreTest, FirstOccurrenceOfASectionOrKeyCounts) {
    WriteFile(file, "[S]\r\nA=first\r\nA=second\r\n[S]\r\nA=third\r\nB=only in second\r\n");
    EXPECT_EQ(store.ReadEntry("S", "A", "?"), "first");
    EXPECT_EQ(store.ReadEntry("S", "B", "?"), "?");
    store.WriteEntry("S", "A", "new");
    EXPECT_EQ(ReadFile(file),
              "[S]\r\nA=new\r\nA=second\r\n[S]\r\nA=third\r\nB=only in second\r\n");
}

TEST_F(ProfileStoreTest, EntriesOfOtherSectionsAndBeforeAnySectionDoNotMatch) {
    WriteFile(file, "A=outside\r\n[T]\r\nA=in T\r\n");
    EXPECT_EQ(store.ReadEntry("S", "A", "default"), "default");
    EXPECT_EQ(store.ReadEntry("T", "A", "default"), "in T");
}

TEST_F(ProfileStoreTest, MissingFileReadsAsNoEntries) {
    EXPECT_EQ(store.ReadEntry(kSection, "Name", "dflt"), "dflt");
    EXPECT_EQ(store.ReadNumber(kSection, "Monthly Count", 0), 0);
    EXPECT_EQ(store.ReadNumber(kSection, "Monthly Count", -3), -3);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ProfileStoreTest, MissingFolderReadsAsNoEntries) {
    store.SetFileName(dir / "no/such/folder/x.cld");
    EXPECT_EQ(store.ReadEntry(kSection, "Name", "dflt"), "dflt");
}

TEST_F(ProfileStoreTest, AChangeMadeByAnotherWriterIsSeen) {
    WriteFile(file, "[S]\r\nA=1\r\n");
    EXPECT_EQ(store.ReadEntry("S", "A", "?"), "1");
    WriteFile(file, "[S]\r\nA=2\r\n");  // same size, same folder, new contents
    struct timespec ts[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
    ::utimensat(AT_FDCWD, file.c_str(), ts, 0);
    EXPECT_EQ(store.ReadEntry("S", "A", "?"), "2");
    ProfileStore other;
    other.SetFileName(file);
    other.WriteEntry("S", "A", "3");
    EXPECT_EQ(store.ReadEntry("S", "A", "?"), "3");
}

// --- encodings -----------------------------------------------------------------------

TEST_F(ProfileStoreTest, FileThatIsNotUtf8IsReadAsWindows1252) {
    // "Café" with é as 0xE9, the euro sign 0x80, an en dash 0x96, a curly quote 0x93 and
    // an undefined byte 0x81.
    WriteFile(file, "[S]\r\nName=Caf\xE9 \x80 \x96 \x93x\x81\r\n");
    EXPECT_EQ(store.ReadEntry("S", "Name", "?"),
              "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x93 \xE2\x80\x9Cx\xC2\x81");
}

TEST_F(ProfileStoreTest, Windows1252FileIsRewrittenAsUtf8) {
    WriteFile(file, "[S]\r\nName=Caf\xE9\r\nA=1\r\n");
    store.WriteEntry("S", "A", "2");
    EXPECT_EQ(ReadFile(file), "[S]\r\nName=Caf\xC3\xA9\r\nA=2\r\n");
}

TEST_F(ProfileStoreTest, Windows1252SectionNamesMatch) {
    WriteFile(file, "[\xC9t\xE9]\r\nA=1\r\n");  // [Été] in Windows-1252
    EXPECT_EQ(store.ReadEntry("\xC3\xA9t\xC3\xA9", "a", "?"), "1");
}

// --- numbers --------------------------------------------------------------------------

struct NumberCase {
    const char* stored;
    std::int32_t expected;
};

std::ostream& operator<<(std::ostream& os, const NumberCase& c) {
    return os << '"' << c.stored << "\" -> " << c.expected;
}

class ReadNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadNumberTest, ReadsLikeThePrivateProfileNumberReader) {
    TempDir dir;
    WriteFile(dir / "n.ini", std::string("[S]\r\nN=") + GetParam().stored + "\r\n");
    ProfileStore store;
    store.SetFileName(dir / "n.ini");
    EXPECT_EQ(store.ReadNumber("S", "N", 77), GetParam().expected) << '"' << GetParam().stored << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadNumberTest,
    ::testing::Values(NumberCase{"12", 12}, NumberCase{"0", 0}, NumberCase{"-7", -7},
                      NumberCase{"+5", 5}, NumberCase{"  \t42", 42}, NumberCase{"12abc", 12},
                      NumberCase{"1,234", 1}, NumberCase{"3.9", 3}, NumberCase{"0x10", 0},
                      NumberCase{"abc", 0}, NumberCase{"", 0}, NumberCase{"-", 0},
                      NumberCase{"- 5", 0}, NumberCase{"+-5", 0}, NumberCase{"007", 7},
                      NumberCase{"2147483647", INT32_MAX}, NumberCase{"2147483648", INT32_MAX},
                      NumberCase{"-2147483648", INT32_MIN}, NumberCase{"-2147483649", INT32_MIN},
                      NumberCase{"4294967297", INT32_MAX}, NumberCase{"99999999999999999999999", INT32_MAX},
                      NumberCase{"-99999999999999999999999", INT32_MIN}, NumberCase{"32768", 32768},
                      NumberCase{"12 ", 12}));

TEST_F(ProfileStoreTest, ReadNumberGivesTheDefaultOnlyForAMissingEntry) {
    WriteFile(file, "[S]\r\nEmpty=\r\n");
    EXPECT_EQ(store.ReadNumber("S", "Empty", 9), 0);
    EXPECT_EQ(store.ReadNumber("S", "Missing", 9), 9);
    EXPECT_EQ(store.ReadNumber("T", "Empty", -9), -9);
}

// --- what cannot be written -----------------------------------------------------------

struct RefusedWrite {
    const char* name;
    std::string section, key, value;
};

std::ostream& operator<<(std::ostream& os, const RefusedWrite& c) { return os << c.name; }

class RefusedWriteTest : public ::testing::TestWithParam<RefusedWrite> {};

TEST_P(RefusedWriteTest, IsRefusedWithError5AndTheFileStaysAsItWas) {
    TempDir dir;
    const std::string file = dir / "r.cld";
    const std::string before = "[S]\r\nA=1\r\n";
    WriteFile(file, before);
    ProfileStore store;
    store.SetFileName(file);
    const auto& c = GetParam();
    const ComError e = ErrorOf([&] { store.WriteEntry(c.section, c.key, c.value); });
    EXPECT_EQ(e.Number(), 5);
    EXPECT_EQ(e.Source().rfind("ProfileStore.WriteEntry: ", 0), 0u) << e.Source();
    EXPECT_EQ(e.Description(), "Invalid procedure call or argument");
    EXPECT_EQ(ReadFile(file), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedWriteTest,
    ::testing::Values(RefusedWrite{"ValueWithLf", "S", "A", "one\ntwo"},
                      RefusedWrite{"ValueWithCr", "S", "A", "one\rtwo"},
                      RefusedWrite{"ValueWithCrLf", "S", "B", "one\r\n[Evil]\r\nX=1"},
                      RefusedWrite{"KeyWithEquals", "S", "A=B", "1"},
                      RefusedWrite{"KeyWithLineBreak", "S", "A\nB", "1"},
                      RefusedWrite{"KeyStartingWithBracket", "S", "[T]", "1"},
                      RefusedWrite{"EmptyKey", "S", "", "1"},
                      RefusedWrite{"BlankKey", "S", "  ", "1"},
                      RefusedWrite{"SectionWithBracket", "S]x", "A", "1"},
                      RefusedWrite{"SectionWithLineBreak", "S\r\nT", "A", "1"},
                      RefusedWrite{"EmptySection", "", "A", "1"},
                      RefusedWrite{"ValueNotUtf8", "S", "A", "Caf\xE9"},
                      RefusedWrite{"KeyNotUtf8", "S", "\xFF", "1"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(ProfileStoreTest, EmptyFileNameIsError52) {
    store.SetFileName("");
    EXPECT_EQ(ErrorOf([&] { store.WriteEntry("S", "A", "1"); }).Number(), 52);
    EXPECT_EQ(ErrorOf([&] { (void)store.ReadEntry("S", "A", ""); }).Number(), 52);
}

// --- tolerant reading ----------------------------------------------------------------

TEST_F(ProfileStoreTest, GarbageNeverCrashesTheReader) {
    std::mt19937 rng(20261206);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(rng() % 4096, '\0');
        for (char& c : bytes) {
            const unsigned r = rng() % 16;
            // Mostly arbitrary bytes, with the characters that matter made frequent.
            c = r == 0 ? '[' : r == 1 ? ']' : r == 2 ? '=' : r == 3 ? '\r' : r == 4 ? '\n'
                : static_cast<char>(rng());
        }
        WriteFile(file, bytes);
        ProfileStore s;
        s.SetFileName(file);
        (void)s.ReadEntry(kSection, "Name", "");
        (void)s.ReadNumber(kSection, "Monthly Count", 0);
        if (round % 10 != 0) continue;  // a write (and its flush to disk) on every tenth
        s.WriteEntry(kSection, "Name", "Acme");
        EXPECT_EQ(s.ReadEntry(kSection, "Name", ""), "Acme");
        ProfileStore fresh;
        fresh.SetFileName(file);
        EXPECT_EQ(fresh.ReadEntry(kSection, "Name", ""), "Acme") << "round " << round;
    }
}

TEST_F(ProfileStoreTest, LinesWithoutEqualsSignNoSectionNulBytesAndUnclosedSections) {
    static const char kBytes[] = "no section here\r\nX\0Y=1\r\n[Open section\r\nK=v\0w\r\n=novalue\r\n";
    WriteFile(file, std::string(kBytes, sizeof kBytes - 1));
    EXPECT_EQ(store.ReadEntry("Open section", "K", "?"), std::string("v\0w", 3));
    EXPECT_EQ(store.ReadEntry("Open section", "", "?"), "novalue");
}

TEST_F(ProfileStoreTest, EmptyFileReadsAsNoEntries) {
    WriteFile(file, "");
    EXPECT_EQ(store.ReadEntry(kSection, "Name", "d"), "d");
    store.WriteEntry(kSection, "Name", "x");
    EXPECT_EQ(ReadFile(file), "[Caldren Formula Calculation]\r\nName=x\r\n");
}

// --- limits --------------------------------------------------------------------------

TEST_F(ProfileStoreTest, FileOfExactly1MiBIsRead) {
    std::string bytes = "[S]\r\nA=";
    bytes += std::string(1024 * 1024 - bytes.size() - 2, 'x');
    bytes += "\r\n";
    ASSERT_EQ(bytes.size(), 1024u * 1024u);
    WriteFile(file, bytes);
    EXPECT_EQ(store.ReadEntry("S", "A", "").size(), 1024u * 1024u - 9u);
}

TEST_F(ProfileStoreTest, FileLargerThan1MiBIsRefusedWithAClearError) {
    WriteFile(file, "[S]\r\nA=" + std::string(10 * 1024 * 1024, 'x') + "\r\n");
    const ComError e = ErrorOf([&] { (void)store.ReadEntry("S", "A", ""); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_NE(e.Source().find("ProfileStore.ReadEntry: cannot read \"" + file + "\""), std::string::npos)
        << e.Source();
    EXPECT_NE(e.Source().find("larger than 1 MiB"), std::string::npos) << e.Source();
    const std::string before = ReadFile(file);
    EXPECT_EQ(ErrorOf([&] { store.WriteEntry("S", "B", "1"); }).Number(), 75);
    EXPECT_EQ(ReadFile(file), before);
}

TEST_F(ProfileStoreTest, WriteThatWouldExceed1MiBIsRefused) {
    store.WriteEntry("S", "A", std::string(1000 * 1000, 'x'));
    const std::string before = ReadFile(file);
    const ComError e = ErrorOf([&] { store.WriteEntry("S", "B", std::string(100 * 1000, 'y')); });
    EXPECT_EQ(e.Number(), 75);
    EXPECT_EQ(ReadFile(file), before);
}

// --- file errors ---------------------------------------------------------------------

TEST_F(ProfileStoreTest, FolderInPlaceOfTheFileIsError75OnReadAndWrite) {
    std::filesystem::create_directory(file);
    const ComError r = ErrorOf([&] { (void)store.ReadEntry("S", "A", ""); });
    EXPECT_EQ(r.Number(), 75);
    EXPECT_EQ(r.Source(), "ProfileStore.ReadEntry: cannot read \"" + file + "\": it is a folder");
    const ComError w = ErrorOf([&] { store.WriteEntry("S", "A", "1"); });
    EXPECT_EQ(w.Number(), 75);
    EXPECT_EQ(w.Description(), "Path/File access error");
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST_F(ProfileStoreTest, PipeInPlaceOfTheFileIsError75AndNeverBlocks) {
    ASSERT_EQ(::mkfifo(file.c_str(), 0666), 0);
    const ComError r = ErrorOf([&] { (void)store.ReadEntry("S", "A", ""); });
    EXPECT_EQ(r.Number(), 75);
    EXPECT_EQ(r.Source(), "ProfileStore.ReadEntry: cannot read \"" + file + "\": it is not a regular file");
    EXPECT_EQ(ErrorOf([&] { store.WriteEntry("S", "A", "1"); }).Number(), 75);
}

TEST_F(ProfileStoreTest, FileWithTheLongestPossibleNameIsReplaced) {
    store.SetFileName(dir / (std::string(251, 'n') + ".cld"));  // 255 bytes, the limit
    store.WriteEntry("S", "A", "1");
    store.WriteEntry("S", "A", "2");
    EXPECT_EQ(ReadFile(store.FileName()), "[S]\r\nA=2\r\n");
}

TEST_F(ProfileStoreTest, WriteIntoAMissingFolderIsError76) {
    store.SetFileName(dir / "missing/acme.cld");
    const ComError e = ErrorOf([&] { store.WriteEntry("S", "A", "1"); });
    EXPECT_EQ(e.Number(), 76);
    EXPECT_EQ(e.Description(), "Path not found");
    EXPECT_NE(e.Source().find("ProfileStore.WriteEntry: cannot write"), std::string::npos) << e.Source();
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST_F(ProfileStoreTest, UnreadableFileIsError70) {
    WriteFile(file, "[S]\r\nA=1\r\n");
    ::chmod(file.c_str(), 0000);
    const auto out = RunUnprivileged([&] { return store.ReadEntry("S", "A", "dflt"); });
    ASSERT_TRUE(out.threw) << "read gave " << out.result;
    EXPECT_EQ(out.number, 70);
    EXPECT_EQ(out.source, "ProfileStore.ReadEntry: cannot read \"" + file + "\": Permission denied");
}

TEST_F(ProfileStoreTest, ReadOnlyFolderIsError70AndTheFileStaysWhole) {
    const std::string before = "[S]\r\nA=1\r\n";
    WriteFile(file, before);
    ::chmod(file.c_str(), 0666);
    ::chmod(dir.path().c_str(), 0555);
    const auto out = RunUnprivileged([&] {
        store.WriteEntry("S", "A", "2");
        return std::string("written");
    });
    ASSERT_TRUE(out.threw);
    EXPECT_EQ(out.number, 70);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(ProfileStoreTest, ReadOnlyFileIsError70EvenInAWritableFolder) {
    const std::string before = "[S]\r\nA=1\r\n";
    WriteFile(file, before);
    ::chmod(file.c_str(), 0444);
    const auto out = RunUnprivileged([&] {
        store.WriteEntry("S", "A", "2");
        return std::string("written");
    });
    ASSERT_TRUE(out.threw);
    EXPECT_EQ(out.number, 70);
    EXPECT_EQ(ReadFile(file), before);
}

TEST_F(ProfileStoreTest, FullDiskIsError61AndTheFileStaysWhole) {
    // The disk fills up in the middle of the save: a file-size limit of 1 KiB makes every
    // write past it fail as a full disk would (EFBIG, with the signal ignored).
    const std::string before = "[S]\r\nA=1\r\n";
    WriteFile(file, before);
    ::chmod(file.c_str(), 0666);
    const auto out = RunUnprivileged([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        store.BeginBatch();
        for (int i = 0; i < 100; ++i) store.WriteEntry("S", std::to_string(i) + " Key", std::string(50, 'v'));
        store.CommitBatch();
        return std::string("committed");
    });
    ASSERT_TRUE(out.threw) << out.result;
    EXPECT_EQ(out.number, 61);
    EXPECT_EQ(out.source.rfind("ProfileStore.CommitBatch: cannot write \"" + file + "\": ", 0), 0u) << out.source;
    EXPECT_EQ(ReadFile(file), before);
    // The partly written temporary file is removed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(ProfileStoreTest, ReplacingKeepsTheFilePermissions) {
    store.WriteEntry("S", "A", "1");
    ::chmod(file.c_str(), 0640);
    store.WriteEntry("S", "A", "2");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(ProfileStoreTest, ReplacingThroughASymbolicLinkReplacesTheLinkedFile) {
    const std::string real = dir / "real.cld";
    WriteFile(real, "[S]\r\nA=1\r\n");
    std::filesystem::create_symlink(real, file);
    store.WriteEntry("S", "A", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(ReadFile(real), "[S]\r\nA=2\r\n");
}

TEST_F(ProfileStoreTest, NoTemporaryFileIsLeftBehind) {
    for (int i = 0; i < 5; ++i) store.WriteEntry("S", "A", std::to_string(i));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// --- batches -------------------------------------------------------------------------

TEST_F(ProfileStoreTest, BatchReplacesTheFileOnceAtCommit) {
    WriteFile(file, "[S]\r\nA=1\r\n");
    struct stat before {};
    ::stat(file.c_str(), &before);
    store.BeginBatch();
    store.WriteEntry("S", "A", "2");
    store.WriteEntry("S", "B", "3");
    store.WriteEntry("T", "C", "4");
    EXPECT_EQ(ReadFile(file), "[S]\r\nA=1\r\n");  // nothing written yet
    EXPECT_EQ(store.ReadEntry("S", "A", "?"), "2");  // the batch's own writes are seen
    EXPECT_EQ(store.ReadEntry("s", "b", "?"), "3");
    store.CommitBatch();
    EXPECT_EQ(ReadFile(file), "[S]\r\nA=2\r\nB=3\r\n[T]\r\nC=4\r\n");
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_NE(before.st_ino, after.st_ino);  // replaced, not rewritten in place
}

TEST_F(ProfileStoreTest, AbandonedBatchLeavesTheFileByteIdentical) {
    const std::string original = "; note\r\n[S]\r\nA=1\r\n\r\n[T]\nB=2";  // mixed line ends
    WriteFile(file, original);
    struct stat before {};
    ::stat(file.c_str(), &before);
    store.BeginBatch();
    store.WriteEntry("S", "A", "changed");
    store.WriteEntry("U", "new", "x");
    store.AbandonBatch();
    EXPECT_EQ(ReadFile(file), original);
    struct stat after {};
    ::stat(file.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(store.ReadEntry("S", "A", "?"), "1");
}

TEST_F(ProfileStoreTest, StoreDestroyedDuringABatchWritesNothing) {
    {
        ProfileStore s;
        s.SetFileName(file);
        s.BeginBatch();
        s.WriteEntry("S", "A", "1");
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ProfileStoreTest, BatchCommitIntoAReadOnlyFolderFailsAndLeavesTheFile) {
    const std::string before = "[S]\r\nA=1\r\n";
    WriteFile(file, before);
    ::chmod(file.c_str(), 0666);
    ::chmod(dir.path().c_str(), 0555);
    const auto out = RunUnprivileged([&] {
        store.BeginBatch();
        for (int i = 0; i < 50; ++i) store.WriteEntry("S", std::to_string(i) + " K", "v");
        store.CommitBatch();
        return std::string("committed");
    });
    ASSERT_TRUE(out.threw);
    EXPECT_EQ(out.number, 70);
    EXPECT_EQ(out.source.rfind("ProfileStore.CommitBatch: cannot write", 0), 0u) << out.source;
    EXPECT_EQ(ReadFile(file), before);
}

TEST_F(ProfileStoreTest, EmptyBatchDoesNotTouchTheFile) {
    store.BeginBatch();
    store.CommitBatch();
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ProfileStoreTest, SavingTheBytesTheFileAlreadyHoldsLeavesTheFileAlone) {
    // An unchanged analysis saved again: no rewrite (the same file, not a renamed copy).
    WriteFile(file, "[S]\r\nA=1\r\nB=x, y\r\n");
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    store.BeginBatch();
    store.WriteEntry("S", "A", "1");
    store.WriteEntry("s", "b", "x, y");
    store.CommitBatch();
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    // A real change still replaces the file.
    store.WriteEntry("S", "A", "2");
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(ReadFile(file), "[S]\r\nA=2\r\nB=x, y\r\n");
}

TEST_F(ProfileStoreTest, SavingUnchangedBytesIntoAReadOnlyFileStillFails) {
    const std::string before = "[S]\r\nA=1\r\n";
    WriteFile(file, before);
    ::chmod(file.c_str(), 0444);
    const auto out = RunUnprivileged([&] {
        store.WriteEntry("S", "A", "1");
        return std::string("written");
    });
    ASSERT_TRUE(out.threw);
    EXPECT_EQ(out.number, 70);
    EXPECT_EQ(ReadFile(file), before);
}

TEST_F(ProfileStoreTest, ReadsWithinABatchSeeTheFileAsItStoodAtTheFirstRead) {
    WriteFile(file, "[S]\r\nA=1\r\n");
    store.BeginBatch();
    EXPECT_EQ(store.ReadEntry("S", "A", ""), "1");
    WriteFile(file, "[S]\r\nA=2\r\nB=3\r\n");  // another writer, during the batch
    EXPECT_EQ(store.ReadEntry("S", "A", ""), "1");
    EXPECT_EQ(store.ReadEntry("S", "B", "none"), "none");
    store.AbandonBatch();
    EXPECT_EQ(store.ReadEntry("S", "A", ""), "2");  // outside a batch every read is current
}

TEST_F(ProfileStoreTest, ChangingTheFileNameDuringABatchIsRefused) {
    store.BeginBatch();
    store.WriteEntry("S", "A", "1");
    EXPECT_EQ(ErrorOf([&] { store.SetFileName(dir / "other.cld"); }).Number(), 5);
    store.CommitBatch();
    EXPECT_EQ(ReadFile(file), "[S]\r\nA=1\r\n");
}

// --- crash safety --------------------------------------------------------------------

// The file a save of generation g produces: every value is g, so a mixture of two saves
// or a cut-off file shows.
std::string Generation(int g, int entries) {
    std::string text = "[Caldren Formula Calculation]\r\n";
    for (int k = 0; k < entries; ++k)
        text += "Key " + std::to_string(k) + "=" + std::to_string(g) + std::string(g % 7, '.') + "\r\n";
    return text;
}

TEST(ProfileStoreCrash, ProcessKilledWhileSavingNeverLeavesAHalfWrittenFile) {
    TempDir dir;
    const std::string file = dir / "crash.cld";
    constexpr int kEntries = 400;  // about 5 KiB per save
    WriteFile(file, Generation(0, kEntries));
    std::mt19937 rng(7);
    int checked = 0;
    int newest = 0;
    for (int round = 0; round < 25; ++round) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            try {
                ProfileStore s;
                s.SetFileName(file);
                for (int g = 1;; ++g) {
                    s.BeginBatch();
                    for (int k = 0; k < kEntries; ++k)
                        s.WriteEntry("Caldren Formula Calculation", "Key " + std::to_string(k),
                                     std::to_string(g) + std::string(g % 7, '.'));
                    s.CommitBatch();
                }
            } catch (...) {
            }
            ::_exit(1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500 + rng() % 30000));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string bytes = ReadFile(file);
        // Which generation does the file hold? It must be exactly that generation's file.
        const std::string prefix = "[Caldren Formula Calculation]\r\nKey 0=";
        ASSERT_EQ(bytes.rfind(prefix, 0), 0u) << "round " << round;
        const int g = std::stoi(bytes.substr(prefix.size()));
        ASSERT_EQ(bytes, Generation(g, kEntries)) << "round " << round << ", generation " << g;
        newest = std::max(newest, g);
        ++checked;
    }
    EXPECT_EQ(checked, 25);
    EXPECT_GT(newest, 0);  // saves did complete between the kills
}

}  // namespace
