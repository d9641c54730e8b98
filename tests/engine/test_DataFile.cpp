// The data file: Save and Fetch through the profile store, exact bytes, defaults, bad
// files, crash-safe saving.
#include "TestSupport.h"

#include <algorithm>
#include <cctype>

#include <unistd.h>

namespace {

using namespace enginetest;

const std::string kHeader = "[Caldren Formula Calculation]\r\n";

class DataFile : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string file = dir.File("analysis.cld");

    // An analysis with every kind of entry.
    ComPtr<Caldren> Sample() {
        auto c = NewRecord();
        c->BeginEdit();
        c->put_Version("CLD2026.12           ");
        c->put_sName("Acme, Inc.");
        c->put_Line2("Plant 2 / Dept-7");
        c->put_DoAveCycle(true);
        c->put_DoPeakCycle(true);
        c->put_DoPeakUseSalesAndPurch(false);
        c->put_UseCurrentAmounts(true);
        c->put_EOYCurrent("6/30/2003");
        c->put_CurAssets("1,234,567.4");
        c->put_Securities("-12.5");
        c->put_CurLiab("250000");
        c->put_InvBeg("100000");
        c->put_InvEnd("120000");
        c->put_InvPurchases("620000");
        c->put_COGS("600000");
        c->put_NetSales("900000");
        c->put_Reasonableneeds("20000");
        c->put_Contingencies("10000");
        c->put_COGSNxtYr("650000");
        c->put_EOYNxtYr("12/31/1999");
        c->put_OperatingExpNxtYr("200000");
        c->put_IncTaxNxtYr("30000");
        c->put_DeprecNxtYr("40000");
        c->put_EOYMonths("6/30/2003");
        c->put_UseActualInventory(true);
        c->put_ARBeg("80000");
        c->put_AREnd("100000");
        c->put_APBegRel2Inv("50000");
        c->put_APEndRel2Inv("70000");
        auto months = c->get_colMonths();
        months->Add("7/15/2002", "100000", "120000", "75000", "50000", 0, 0, 0);
        months->Add("8/15/2002", "105000.5", "100000", "60000", "45000", 0, 0, 0, "Aug");
        return c;
    }
};

const std::string kSampleBytes =
    kHeader +
    "Version=CLD2026.12\r\n"
    "Name=Acme, Inc.\r\n"
    "Line 2=Plant 2 / Dept-7\r\n"
    "Average Cycle=True\r\n"
    "Peak Cycle=True\r\n"
    "Peak Cycle Using Sales and Purchases=False\r\n"
    "Current Amounts=True\r\n"
    "Current end-of-year=06/30/2003\r\n"
    "Current Assets=1,234,567\r\n"
    "Securities=-13\r\n"
    "Notes from shareholders=0\r\n"
    "Current Liabilities=250,000\r\n"
    "Other Adjustments to Available Working Capital=0\r\n"
    "Beginning Inventory=100,000\r\n"
    "Ending Inventory=120,000\r\n"
    "Inventory Purchases=620,000\r\n"
    "Cost of Goods Sold=600,000\r\n"
    "Net Sales=900,000\r\n"
    "Reasonable Needs=20,000\r\n"
    "Contingencies=10,000\r\n"
    "Cost of Goods Sold - Next Year=650,000\r\n"
    "Operating Expense - Next Year=200,000\r\n"
    "Income Tax - Next Year=30,000\r\n"
    "Depreciation - Next Year=40,000\r\n"
    "Other Adjustments to Cost of Operations - Next Year=0\r\n"
    "End-of-Year Months=06/30/2003\r\n"
    "Actual Inventory=True\r\n"
    "Beginning Accounts Receivable=80,000\r\n"
    "Ending Accounts Receivable=100,000\r\n"
    "Beginning Accounts Payable Related to Inventory=50,000\r\n"
    "Ending Accounts Payable Related to Inventory=70,000\r\n"
    "Monthly Count=2\r\n"
    "1 Date=07/15/2002\r\n"
    "1 Inventory=100,000\r\n"
    "1 Receivables=120,000\r\n"
    "1 Sales=75,000\r\n"
    "1 Purchases=50,000\r\n"
    "2 Date=08/15/2002\r\n"
    "2 Inventory=105,001\r\n"
    "2 Receivables=100,000\r\n"
    "2 Sales=60,000\r\n"
    "2 Purchases=45,000\r\n";

TEST_F(DataFile, SaveWritesEveryEntryInOrderAsExactBytes) {
    auto c = Sample();
    const bool dirty = c->get_IsDirty();
    c->Save(file);
    EXPECT_EQ(ReadBytes(file), kSampleBytes);
    EXPECT_EQ(c->get_IsDirty(), dirty);  // Save changes no flag
    EXPECT_TRUE(c->get_IsNew());
}

TEST_F(DataFile, FetchReadsBackTheSameInputsAndMonths) {
    auto c = Sample();
    c->Save(file);
    auto d = NewRecord();
    d->Fetch(file);
    EXPECT_TRUE(d->isEditing());
    EXPECT_TRUE(d->get_IsDirty());
    EXPECT_TRUE(d->get_IsNew());  // Load clears it, not Fetch
    EXPECT_EQ(d->get_Version(), "CLD2026.12");
    EXPECT_EQ(d->get_sName(), "Acme, Inc.");
    EXPECT_EQ(d->get_Line2(), "Plant 2 / Dept-7");
    EXPECT_TRUE(d->get_DoAveCycle());
    EXPECT_TRUE(d->get_DoPeakCycle());
    EXPECT_FALSE(d->get_DoPeakUseSalesAndPurch());
    EXPECT_TRUE(d->get_UseCurrentAmounts());
    EXPECT_TRUE(d->get_UseActualInventory());
    EXPECT_EQ(d->get_EOYCurrent(), "06/30/2003");
    EXPECT_EQ(d->get_EOYNxtYr(), "12/31/2002");  // not written: the default
    EXPECT_EQ(d->get_EOYMonths(), "06/30/2003");
    EXPECT_EQ(d->record().CurAssets, 12345670000);  // whole units only
    EXPECT_EQ(d->record().Securities, -130000);
#define SAME_TEXT(name) EXPECT_EQ(d->get_##name(), c->get_##name()) << #name;
    VESMORA_AMOUNT_INPUTS(SAME_TEXT)
#undef SAME_TEXT
    auto months = d->get_colMonths();
    ASSERT_EQ(months->get_Count(), 2);
    EXPECT_EQ(months->get_Item(1L)->get_MonthDate(), "07/15/2002");
    EXPECT_EQ(months->get_Item(2L)->get_MonthDate(), "08/15/2002");
    EXPECT_EQ(months->get_Item(2L)->get_Inventory(), "105,001");
    EXPECT_EQ(months->get_Item(2L)->get_Purchases(), "45,000");
    EXPECT_TRUE(months->get_Item(1L)->get_IsEditing());
    EXPECT_EQ(CatchError([&] { months->get_Item(std::string("Aug")); }).Number(), 5);  // keys are not kept
    // Saving the fetched analysis gives the same bytes, plus the next-year date that was
    // absent and so took its default.
    const std::string again = dir.File("again.cld");
    d->Save(again);
    std::string expected = kSampleBytes;
    const std::string next = "Operating Expense - Next Year=";
    expected.insert(expected.find(next), "End of Year - Next Year=12/31/2002\r\n");
    EXPECT_EQ(ReadBytes(again), expected);
}

TEST_F(DataFile, DatesOf31December1999AreNotWrittenAndReadAsTheDefault) {
    auto c = NewRecord();
    c->BeginEdit();
    c->put_EOYCurrent("12/31/1999");
    c->put_EOYNxtYr("12/31/1999");
    c->put_EOYMonths("12/31/1999");
    c->Save(file);
    const std::string bytes = ReadBytes(file);
    EXPECT_EQ(bytes.find("end-of-year"), std::string::npos);
    EXPECT_EQ(bytes.find("End of Year"), std::string::npos);
    EXPECT_EQ(bytes.find("End-of-Year"), std::string::npos);
    auto d = NewRecord();
    d->Fetch(file);
    EXPECT_EQ(d->get_EOYCurrent(), "12/31/2002");
    EXPECT_EQ(d->get_EOYNxtYr(), "12/31/2002");
    EXPECT_EQ(d->get_EOYMonths(), "12/31/2002");
}

TEST_F(DataFile, NewRecordFileBytes) {
    auto c = NewRecord();
    c->Save(file);
    EXPECT_EQ(ReadBytes(file),
              kHeader +
                  "Version=\r\nName=\r\nLine 2=\r\nAverage Cycle=False\r\nPeak Cycle=False\r\n"
                  "Peak Cycle Using Sales and Purchases=True\r\nCurrent Amounts=False\r\n"
                  "Current end-of-year=12/31/2002\r\nCurrent Assets=0\r\nSecurities=0\r\n"
                  "Notes from shareholders=0\r\nCurrent Liabilities=0\r\n"
                  "Other Adjustments to Available Working Capital=0\r\nBeginning Inventory=0\r\n"
                  "Ending Inventory=0\r\nInventory Purchases=0\r\nCost of Goods Sold=0\r\nNet Sales=0\r\n"
                  "Reasonable Needs=0\r\nContingencies=0\r\nCost of Goods Sold - Next Year=0\r\n"
                  "End of Year - Next Year=12/31/2003\r\nOperating Expense - Next Year=0\r\n"
                  "Income Tax - Next Year=0\r\nDepreciation - Next Year=0\r\n"
                  "Other Adjustments to Cost of Operations - Next Year=0\r\n"
                  "End-of-Year Months=12/30/1899\r\nActual Inventory=False\r\n"
                  "Beginning Accounts Receivable=0\r\nEnding Accounts Receivable=0\r\n"
                  "Beginning Accounts Payable Related to Inventory=0\r\n"
                  "Ending Accounts Payable Related to Inventory=0\r\nMonthly Count=0\r\n");
}

std::string FileWithout(const std::vector<std::string>& dropped, const std::string& extra = "");

TEST_F(DataFile, WithoutThePeakMethodMonthsAreKept) {
    auto c = NewRecord();
    c->BeginEdit();
    for (int i = 0; i < 12; ++i) c->get_colMonths()->Add("1/15/2003", "5", "6", "7", "8", 0, 0, 0);
    c->Save(file);
    const std::string bytes = ReadBytes(file);
    EXPECT_NE(bytes.find("\r\nMonthly Count=12\r\n1 Date=01/15/2003\r\n1 Inventory=5\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n12 Purchases=8\r\n"), std::string::npos);
    auto d = NewRecord();
    d->Fetch(file);
    ASSERT_EQ(d->get_colMonths()->get_Count(), 12);
    EXPECT_EQ(d->get_colMonths()->get_Item(IndexKey{12L})->get_Receivables(), "6");
    // A file written before months were kept this way has the count alone: no months.
    WriteBytes(file, FileWithout({"Peak Cycle"}, "Peak Cycle=False\r\nMonthly Count=12\r\n"));
    d->Fetch(file);
    EXPECT_EQ(d->get_colMonths()->get_Count(), 0);
}

TEST_F(DataFile, FetchAlwaysReplacesTheMonthCollection) {
    auto c = NewRecord();
    c->Save(file);
    auto d = NewRecord();
    ComPtr<_Months> old = d->get_colMonths();
    old->Add("1/15/2003", "1", "1", "1", "1", 0, 0, 0);
    d->Fetch(file);
    EXPECT_NE(d->get_colMonths().Get(), old.Get());
    EXPECT_EQ(d->get_colMonths()->get_Count(), 0);
}

TEST_F(DataFile, FractionsAreNotKeptInTheFile) {
    auto c = NewRecord();
    c->BeginEdit();
    c->put_NetSales("1234.56");
    c->Save(file);
    EXPECT_NE(ReadBytes(file).find("\r\nNet Sales=1,235\r\n"), std::string::npos);
    auto d = NewRecord();
    d->Fetch(file);
    EXPECT_EQ(d->record().NetSales, 12350000);
}

// A valid file body without some keys.
std::string FileWithout(const std::vector<std::string>& dropped, const std::string& extra) {
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"Version", "CLD2003.1"}, {"Name", "X"}, {"Line 2", ""}, {"Average Cycle", "True"},
        {"Peak Cycle", "True"}, {"Peak Cycle Using Sales and Purchases", "1"},
        {"Current Amounts", "0"}, {"Current Assets", "1"}, {"Securities", "2"},
        {"Notes from shareholders", "3"}, {"Current Liabilities", "4"},
        {"Other Adjustments to Available Working Capital", "5"}, {"Beginning Inventory", "6"},
        {"Ending Inventory", "7"}, {"Inventory Purchases", "8"}, {"Cost of Goods Sold", "9"},
        {"Net Sales", "10"}, {"Reasonable Needs", "11"}, {"Contingencies", "12"},
        {"Cost of Goods Sold - Next Year", "13"}, {"Operating Expense - Next Year", "14"},
        {"Income Tax - Next Year", "15"}, {"Depreciation - Next Year", "16"},
        {"Other Adjustments to Cost of Operations - Next Year", "17"}, {"Actual Inventory", "false"},
        {"Beginning Accounts Receivable", "18"}, {"Ending Accounts Receivable", "19"},
        {"Beginning Accounts Payable Related to Inventory", "20"},
        {"Ending Accounts Payable Related to Inventory", "21"}};
    std::string s = kHeader;
    for (const auto& [k, v] : entries)
        if (std::find(dropped.begin(), dropped.end(), k) == dropped.end()) s += k + "=" + v + "\r\n";
    return s + extra;
}

TEST_F(DataFile, MissingOptionalEntriesTakeTheirDefaults) {
    WriteBytes(file, FileWithout({"Version"}));
    auto d = NewRecord();
    d->Fetch(file);
    EXPECT_EQ(d->get_Version(), EngineVersionText());
    EXPECT_EQ(d->get_EOYCurrent(), "12/31/2002");
    EXPECT_EQ(d->get_EOYMonths(), "12/31/2002");
    EXPECT_TRUE(d->get_DoPeakUseSalesAndPurch());  // "1"
    EXPECT_FALSE(d->get_UseCurrentAmounts());      // "0"
    EXPECT_FALSE(d->get_UseActualInventory());     // "false"
    EXPECT_EQ(d->get_APEndRel2Inv(), "21");
    EXPECT_EQ(d->get_colMonths()->get_Count(), 0);  // no "Monthly Count": 0
}

TEST_F(DataFile, VersionEntryIsRead) {
    WriteBytes(file, FileWithout({}));
    auto d = NewRecord();
    d->Fetch(file);
    EXPECT_EQ(d->get_Version(), "CLD2003.1");
}

TEST_F(DataFile, MissingFlagEntryIsATypeMismatch) {
    for (const char* key : {"Average Cycle", "Peak Cycle", "Peak Cycle Using Sales and Purchases",
                            "Current Amounts", "Actual Inventory"}) {
        WriteBytes(file, FileWithout({key}));
        auto d = NewRecord();
        ComError e = CatchError([&] { d->Fetch(file); });
        EXPECT_EQ(e.Number(), 13) << key;
        EXPECT_EQ(e.Source(), std::string("Caldren.Fetch") + CR + "Entry \"" + key + "\" (missing)" + CR + "Vesmora")
            << key;
        EXPECT_EQ(e.Description(), "Caldren Formula Calculator");
    }
}

TEST_F(DataFile, MissingAmountEntryIsRefusedByItsSetter) {
    WriteBytes(file, FileWithout({"Net Sales"}));
    auto d = NewRecord();
    ComError e = CatchError([&] { d->Fetch(file); });
    EXPECT_EQ(e.Number(), 10002);
    EXPECT_EQ(e.Source(), std::string("Caldren.Fetch") + CR + "Entry \"Net Sales\" (missing)" + CR +
                              "This item needs to be a number.");
    // entries before the failure keep their new values, the others their old ones
    EXPECT_EQ(d->get_Reasonableneeds(), "0");
    EXPECT_EQ(d->get_COGS(), "9");
}

TEST_F(DataFile, EmptyFileNameFailsWith10003AfterBeginEdit) {
    auto d = NewRecord();
    ComError e = CatchError([&] { d->Fetch(""); });
    EXPECT_EQ(e.Number(), 10003);
    EXPECT_EQ(e.Source(), std::string("Caldren.Fetch") + CR + "Need to specify a filename.");
    EXPECT_EQ(e.Description(), "Caldren Formula Calculator");
    EXPECT_TRUE(d->isEditing());
}

struct BadFile {
    const char* name;
    std::string bytes;
    long number;  // 0: any error number
};

class BadFiles : public DataFile, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFiles, FailCleanlyAndWriteNothing) {
    const BadFile& bad = GetParam();
    WriteBytes(file, bad.bytes);
    auto d = NewRecord();
    ComError e = CatchError([&] { d->Fetch(file); });
    if (bad.number) {
        EXPECT_EQ(e.Number(), bad.number) << bad.name;
    }
    EXPECT_EQ(e.Source().rfind(std::string("Caldren.Fetch") + CR, 0), 0u) << bad.name << ": " << e.Source();
    EXPECT_EQ(ReadBytes(file), bad.bytes) << bad.name;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadFiles,
    ::testing::Values(
        BadFile{"empty", "", 13}, BadFile{"binary", std::string("\0\x01\xff\xfe garbage\r\n\x80\x81", 16), 13},
        BadFile{"no section", "Average Cycle=True\r\nPeak Cycle=True\r\n", 13},
        BadFile{"no equals", kHeader + "Average Cycle\r\nPeak Cycle\r\n", 13},
        BadFile{"huge line", kHeader + "Name=" + std::string(10 * 1024 * 1024, 'x') + "\r\n", 0},
        BadFile{"long name", FileWithout({"Name"}, "Name=" + std::string(51, 'n') + "\r\n"), 0},
        BadFile{"latin-1 name", FileWithout({"Net Sales"}, "Net Sales=1\xe9\r\n"), 10002},
        BadFile{"exponent", FileWithout({"Net Sales"}, "Net Sales=1e400\r\n"), 10002},
        BadFile{"huge amount", FileWithout({"Net Sales"}, "Net Sales=9999999999999999999\r\n"), 6},
        BadFile{"zero date", FileWithout({}, "Current end-of-year=00/00/0000\r\n"), 10002},
        BadFile{"count beyond 16 bits", FileWithout({}, "Monthly Count=40000\r\n"), 6},
        BadFile{"count beyond the month limit", FileWithout({}, "Monthly Count=1001\r\n"), 6},
        BadFile{"count without months", FileWithout({}, "Monthly Count=2\r\n1 Date=1/15/2003\r\n"
                                                       "1 Inventory=1\r\n1 Receivables=1\r\n1 Sales=1\r\n"
                                                       "1 Purchases=1\r\n"), 13},
        BadFile{"bad month amount", FileWithout({}, "Monthly Count=1\r\n1 Date=1/15/2003\r\n"
                                                   "1 Inventory=lots\r\n1 Receivables=1\r\n1 Sales=1\r\n"
                                                   "1 Purchases=1\r\n"), 10002}),
    [](const ::testing::TestParamInfo<BadFile>& row) {
        std::string n = row.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST_F(DataFile, LongNameInAFileIsRefusedWith10001) {
    WriteBytes(file, FileWithout({"Name"}, "Name=" + std::string(51, 'n') + "\r\n"));
    auto d = NewRecord();
    ComError e = CatchError([&] { d->Fetch(file); });
    EXPECT_EQ(e.Number(), 10001);
    EXPECT_EQ(e.Source(), std::string("Caldren.Fetch") + CR + "Entry \"Name=" + std::string(51, 'n') + "\"" + CR +
                              "Caldren");
}

TEST_F(DataFile, AMonthlyCountThatIsNoWholeNumberUpToAThousandIsAMalformedFile) {
    const struct {
        const char* count;
        long number;
    } rows[] = {{"twelve", 13}, {"-5", 13}, {"12abc", 13}, {"", 13}, {"1001", 6}, {"30000", 6}};
    for (const auto& row : rows) {
        for (const char* peak : {"True", "False"}) {
            WriteBytes(file, FileWithout({"Peak Cycle"}, std::string("Peak Cycle=") + peak +
                                                             "\r\nMonthly Count=" + row.count + "\r\n"));
            auto d = NewRecord();
            ComError e = CatchError([&] { d->Fetch(file); });
            EXPECT_EQ(e.Number(), row.number) << row.count;
            EXPECT_EQ(e.Source(), std::string("Caldren.Fetch") + CR + "Entry \"Monthly Count=" + row.count + "\"" +
                                      CR + "The count of months must be a whole number from 0 to 1,000.")
                << row.count;
        }
    }
    WriteBytes(file, FileWithout({}, "Monthly Count= 0 \r\n"));
    auto d = NewRecord();
    d->Fetch(file);
    EXPECT_EQ(d->get_colMonths()->get_Count(), 0);
}

TEST_F(DataFile, ARefusedMonthValueNamesItsEntry) {
    WriteBytes(file, FileWithout({}, "Monthly Count=1\r\n1 Date=01/15/2003\r\n1 Inventory=5\r\n"
                                     "1 Receivables=9x\r\n1 Sales=0\r\n1 Purchases=0\r\n"));
    auto d = NewRecord();
    ComError e = CatchError([&] { d->Fetch(file); });
    EXPECT_EQ(e.Number(), 10002);
    EXPECT_EQ(e.Source(), std::string("Caldren.Fetch") + CR + "Entry \"1 Receivables=9x\"" + CR +
                              "This item needs to be a number.");
}

TEST_F(DataFile, MonthsAreReadInOrdinalOrder) {
    std::string months = "Monthly Count=3\r\n";
    for (int n = 3; n >= 1; --n) {  // written out of order: the ordinal decides
        const std::string p = std::to_string(n);
        months += p + " Date=" + std::to_string(n) + "/15/2003\r\n" + p + " Inventory=" + p + "00\r\n" + p +
                  " Receivables=0\r\n" + p + " Sales=0\r\n" + p + " Purchases=0\r\n";
    }
    WriteBytes(file, FileWithout({}, months));
    auto d = NewRecord();
    d->Fetch(file);
    auto col = d->get_colMonths();
    ASSERT_EQ(col->get_Count(), 3);
    EXPECT_EQ(col->get_Item(1L)->get_MonthDate(), "01/15/2003");
    EXPECT_EQ(col->get_Item(3L)->get_Inventory(), "300");
}

TEST_F(DataFile, Windows1252FileOpens) {
    WriteBytes(file, FileWithout({"Name"}, "Name=M\xfcller GmbH\r\n"));
    auto d = NewRecord();
    d->Fetch(file);
    EXPECT_EQ(d->get_sName(), "Müller GmbH");
}

TEST_F(DataFile, FailedSaveLeavesTheFileByteIdentical) {
    auto c = Sample();
    c->Save(file);
    const std::string before = ReadBytes(file);
    // The month collection reference is gone: Save fails after most entries were written.
    c->put_NetSales("1");
    c->putref_colMonths(nullptr);
    ComError e = CatchError([&] { c->Save(file); });
    EXPECT_EQ(e.Number(), 91);
    EXPECT_EQ(e.Source(), std::string("Caldren.Save") + CR + "Vesmora");
    EXPECT_EQ(ReadBytes(file), before);
    // A value the store cannot hold (a line break) fails at once, again without a trace.
    ComPtr<_Months> fresh(NewMonths());
    c->putref_colMonths(fresh.Get());
    c->put_Line2("two\r\nlines");
    ComError f = CatchError([&] { c->Save(file); });
    EXPECT_EQ(f.Source().rfind(std::string("Caldren.Save") + CR, 0), 0u);
    EXPECT_EQ(ReadBytes(file), before);
}

TEST_F(DataFile, SaveIntoAMissingFolderFails) {
    auto c = NewRecord();
    ComError e = CatchError([&] { c->Save(dir.File("no/such/folder.cld")); });
    EXPECT_NE(e.Number(), 0);
    EXPECT_EQ(e.Source().rfind(std::string("Caldren.Save") + CR, 0), 0u);
    EXPECT_EQ(e.Description(), "Caldren Formula Calculator");
}

TEST_F(DataFile, UnreadableFileIsAnError) {
    // A folder in place of the file cannot be read, whoever runs the test.
    std::filesystem::create_directory(file);
    auto d = NewRecord();
    ComError e = CatchError([&] { d->Fetch(file); });
    EXPECT_NE(e.Number(), 0);
    EXPECT_EQ(e.Source().rfind(std::string("Caldren.Fetch") + CR, 0), 0u) << e.Source();
    if (geteuid() != 0) {
        const std::string plain = dir.File("locked.cld");
        Sample()->Save(plain);
        chmod(plain.c_str(), 0);
        ComError p = CatchError([&] { d->Fetch(plain); });
        EXPECT_EQ(p.Source().rfind(std::string("Caldren.Fetch") + CR, 0), 0u) << p.Source();
    }
}

TEST_F(DataFile, SavingAgainKeepsEntriesItNoLongerWrites) {
    auto c = Sample();
    c->Save(file);
    c->put_DoPeakCycle(false);
    c->put_EOYCurrent("12/31/1999");
    c->Save(file);
    const std::string bytes = ReadBytes(file);
    EXPECT_NE(bytes.find("\r\nPeak Cycle=False\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nCurrent end-of-year=06/30/2003\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n2 Purchases=45,000\r\n"), std::string::npos);
}

}  // namespace
