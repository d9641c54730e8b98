// The printed page model over fake page metrics.
#include "PrintModel.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using PRINT::PageModel;

namespace {

// A printer of L lines per page that keeps each page as text lines.
class FakeDevice : public PRINT::PrintDevice {
public:
    explicit FakeDevice(int lines) : L(lines) {}
    int L;
    std::vector<std::vector<std::string>> pages;  // finished and current pages
    std::vector<std::vector<std::vector<std::string>>> jobs;
    std::vector<std::string> errors;
    bool pageOpen = false;

    int LinesPerPage() override { return L; }
    void DrawText(int line, int column, std::string_view text) override {
        if (!pageOpen) {
            pages.emplace_back();
            pageOpen = true;
        }
        auto& page = pages.back();
        if (static_cast<int>(page.size()) <= line) page.resize(line + 1);
        std::string& l = page[line];
        if (static_cast<int>(l.size()) < column) l.resize(column, ' ');
        l.replace(column, text.size(), text);
    }
    void EndPage() override { pageOpen = false; }
    void EndDoc() override {
        jobs.push_back(pages);
        pages.clear();
        pageOpen = false;
    }
    void ShowLineCountError(const std::string& t) override { errors.push_back(t); }
};

std::string Chunk(int lines, const std::string& word) {
    std::string s;
    for (int i = 0; i < lines; ++i) s += word + std::to_string(i + 1) + "\r\n";
    return s;
}

const char* h1 = "Acme";
const char* h2 = "Line2";
const char* h3 = "Title";

TEST(PageModel, ShortReportHasHeadingsBodyFillerAndPageNumber) {
    FakeDevice dev(40);
    PageModel pm(dev);
    EXPECT_EQ(1, pm.PrnManager2(3, h1, h2, h3));
    pm.PrintChunk(Chunk(3, "body"));
    EXPECT_EQ(16, pm.Counter());
    EXPECT_EQ(1, pm.PrnManager2(-200, "", "", ""));
    EXPECT_EQ(0, pm.Counter());
    ASSERT_EQ(1u, dev.pages.size());
    const auto& p = dev.pages[0];
    for (int i = 0; i < 6; ++i) EXPECT_EQ("", p[i]) << i;
    EXPECT_EQ("         Acme", p[6]);
    EXPECT_EQ("         Line2", p[7]);
    EXPECT_EQ("         Title", p[8]);
    EXPECT_EQ("", p[9]);
    EXPECT_EQ("body1", p[10]);
    EXPECT_EQ("body3", p[12]);
    // Filler from counter 16 up to L - 6 = 34: 18 lines, the page number on the next line.
    ASSERT_EQ(13u + 18u + 1u, p.size());
    EXPECT_EQ("  Page  1", p.back());
}

TEST(PageModel, ChunkReachingTheReserveStartsANewPage) {
    FakeDevice dev(40);  // L - 6 = 34
    PageModel pm(dev);
    pm.PrnManager2(11, h1, h2, h3);  // 13 + 11 = 24
    pm.PrintChunk(Chunk(11, "a"));
    EXPECT_EQ(24, pm.Counter());
    EXPECT_EQ(2, pm.PrnManager2(9, h1, h2, h3));  // 24 + 9 = 33 < 34: same page
    pm.PrintChunk(Chunk(9, "b"));
    EXPECT_EQ(33, pm.Counter());
    EXPECT_EQ(1u, dev.pages.size());
    EXPECT_EQ(1, pm.PrnManager2(1, h1, h2, h3));  // 33 + 1 = 34 = L - 6: new page first
    pm.PrintChunk(Chunk(1, "c"));
    EXPECT_EQ(14, pm.Counter());
    ASSERT_EQ(2u, dev.pages.size());
    EXPECT_EQ("  Page  1", dev.pages[0].back());
    EXPECT_EQ("         Acme", dev.pages[1][6]);
    EXPECT_EQ("c1", dev.pages[1][10]);
    EXPECT_EQ(2, pm.PageNumber());
}

TEST(PageModel, ChunkNeverSplit) {
    FakeDevice dev(50);
    PageModel pm(dev);
    for (int k = 0; k < 10; ++k) {
        pm.PrnManager2(7, h1, h2, h3);
        pm.PrintChunk(Chunk(7, "k" + std::to_string(k) + "_"));
    }
    pm.PrnManager2(-100, "", "", "");
    ASSERT_EQ(1u, dev.jobs.size());
    for (const auto& page : dev.jobs[0]) {
        // Every chunk's lines stay on one page.
        for (int k = 0; k < 10; ++k) {
            std::string first = "k" + std::to_string(k) + "_1", last = "k" + std::to_string(k) + "_7";
            bool hasFirst = false, hasLast = false;
            for (const auto& l : page) {
                hasFirst |= l == first;
                hasLast |= l == last;
            }
            EXPECT_EQ(hasFirst, hasLast) << k;
        }
    }
}

TEST(PageModel, NewPageCommandPrintsNumberAndHeadings) {
    FakeDevice dev(40);
    PageModel pm(dev);
    pm.PrnManager2(1, h1, h2, h3);
    pm.PrintChunk("x\r\n");
    EXPECT_EQ(1, pm.PrnManager2(-300, h1, h2, h3));
    EXPECT_EQ(13, pm.Counter());
    ASSERT_EQ(2u, dev.pages.size());
    EXPECT_EQ("  Page  1", dev.pages[0].back());
    EXPECT_EQ("         Title", dev.pages[1][8]);
}

TEST(PageModel, ReportsInOneJobEachStartANewPageAndNumbersContinue) {
    FakeDevice dev(40);
    PageModel pm(dev);
    pm.PrnManager2(2, h1, h2, "First");
    pm.PrintChunk(Chunk(2, "r1_"));
    pm.PrnManager2(-200, "", "", "");
    pm.PrnManager2(2, h1, h2, "Second");
    pm.PrintChunk(Chunk(2, "r2_"));
    pm.PrnManager2(-200, "", "", "");
    pm.PrnManager2(-100, "", "", "");
    ASSERT_EQ(1u, dev.jobs.size());
    ASSERT_EQ(2u, dev.jobs[0].size());  // no empty page at the end of the job
    EXPECT_EQ("         First", dev.jobs[0][0][8]);
    EXPECT_EQ("         Second", dev.jobs[0][1][8]);
    EXPECT_EQ("  Page  1", dev.jobs[0][0].back());
    EXPECT_EQ("  Page  2", dev.jobs[0][1].back());
    // The next job numbers from 1 again.
    EXPECT_EQ(1, pm.PageNumber());
}

TEST(PageModel, EndOfJobClosesAnOpenPage) {
    FakeDevice dev(30);
    PageModel pm(dev);
    pm.PrnManager2(1, h1, h2, h3);
    pm.PrintChunk("only");
    pm.PrnManager2(-100, "", "", "");
    ASSERT_EQ(1u, dev.jobs.size());
    ASSERT_EQ(1u, dev.jobs[0].size());
    EXPECT_EQ("only", dev.jobs[0][0][10]);
    EXPECT_EQ("  Page  1", dev.jobs[0][0].back());
    EXPECT_EQ(0, pm.Counter());
}

TEST(PageModel, HeadingWithLineEndsContinuesFromTheLeftMargin) {
    FakeDevice dev(60);
    PageModel pm(dev);
    pm.PrnManager2(1, "Acme", "", "Summary\r\n\r\n  Year Ending 12/31/2002");
    ASSERT_GE(dev.pages[0].size(), 11u);
    EXPECT_EQ("         Acme", dev.pages[0][6]);
    EXPECT_EQ("", dev.pages[0][7]);
    EXPECT_EQ("         Summary", dev.pages[0][8]);
    EXPECT_EQ("", dev.pages[0][9]);
    EXPECT_EQ("  Year Ending 12/31/2002", dev.pages[0][10]);
    EXPECT_EQ(12, pm.Line());  // one empty line after the headings
}

TEST(PageModel, ChunkWithoutLineEndIsContinuedByTheNext) {
    FakeDevice dev(60);
    PageModel pm(dev);
    pm.PrnManager2(2, h1, h2, h3);
    pm.PrintChunk("left");
    pm.PrnManager2(1, h1, h2, h3);
    pm.PrintChunk("-right\r\n");
    EXPECT_EQ("left-right", dev.pages[0][10]);
}

TEST(PageModel, PageNumberAfterAnOpenLineGoesOnTheNextLines) {
    FakeDevice dev(40);
    PageModel pm(dev);
    pm.PrnManager2(2, h1, h2, h3);
    pm.PrintChunk("a\r\n=====");  // ends without a line end, as the Summary does
    pm.PrnManager2(-200, "", "", "");
    const auto& p = dev.pages[0];
    EXPECT_EQ("=====", p[11]);
    EXPECT_EQ("  Page  1", p.back());
    EXPECT_EQ(11u + 34u - 15u + 1u, p.size());
}

TEST(PageModel, RefusedLineCounts) {
    FakeDevice dev(40);
    PageModel pm(dev);
    for (int n : {0, 41, -1, -400, 100}) {
        EXPECT_EQ(2, pm.PrnManager2(n, h1, h2, h3));
        EXPECT_EQ(0, pm.Counter());
    }
    EXPECT_TRUE(dev.pages.empty());
    ASSERT_EQ(5u, dev.errors.size());
    EXPECT_EQ("41 lines passed to PrnManager2(). Please use between 1 and 40", dev.errors[1]);
    EXPECT_EQ("-1 lines passed to PrnManager2(). Please use between 1 and 40", dev.errors[2]);
    EXPECT_EQ(1, pm.PrnManager2(40, h1, h2, h3));  // 40 is allowed
}

TEST(PageModel, OverlongChunkOnAFreshPageStaysThere) {
    FakeDevice dev(30);  // L - 6 = 24: a 20-line chunk never fits after the headings
    PageModel pm(dev);
    pm.PrnManager2(20, h1, h2, h3);
    pm.PrintChunk(Chunk(20, "x"));
    EXPECT_EQ(1u, dev.pages.size());
    pm.PrnManager2(20, h1, h2, h3);  // the next one goes to a new page
    pm.PrintChunk(Chunk(20, "y"));
    EXPECT_EQ(2u, dev.pages.size());
    EXPECT_EQ("y1", dev.pages[1][10]);
}

}  // namespace
