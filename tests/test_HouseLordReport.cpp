#include "forms/HouseLordReport.h"

#include "pipeline/ReadingPipeline.h"
#include "reading/modHouseLords.h"
#include "records/Records.h"
#include "support/TestBirths.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <memory>

namespace {

class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_HouseLordReport";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

  private:
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

struct TextRun {
    QString text;
    QColor colour;
    bool bold;
};

// Each block's runs of equal format, as a reader of the box would see them.
std::vector<std::vector<TextRun>> BlockRuns(const QTextDocument& document) {
    std::vector<std::vector<TextRun>> blocks;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        std::vector<TextRun> runs;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            runs.push_back({f.text(), format.foreground().color(), format.fontWeight() == QFont::Bold});
        }
        blocks.push_back(runs);
    }
    return blocks;
}

void FillBlocks(const std::string& tag) {
    for (std::size_t k = 0; k < 12; ++k) {
        const std::string n = std::to_string(k + 1);
        ReadingState.lordHeadings[k] = tag + " heading " + n;
        lordTexts[k] = tag + " lord’s text " + n;
        planetTexts[k] = tag + " planet text – " + n;
    }
}

TEST(HouseLordReport, TwelveBlocksInTheirColoursWithBoldHeadings) {
    FillBlocks("new");
    QTextDocument document;
    WriteHouseLordReport(document);

    QString expected;
    for (int n = 1; n <= 12; ++n)
        expected += QString("new heading %1\nnew lord’s text %1\nnew planet text – %1\n\n").arg(n);
    EXPECT_EQ(document.toPlainText(), expected);

    const auto blocks = BlockRuns(document);
    ASSERT_EQ(blocks.size(), 49u); // 48 line ends; the last, empty block follows the final CR LF
    for (std::size_t k = 0; k < 12; ++k) {
        const std::size_t b = 4 * k;
        ASSERT_EQ(blocks[b].size(), 1u) << k;
        EXPECT_EQ(blocks[b][0].colour, QColor(0, 128, 0)) << k;
        EXPECT_TRUE(blocks[b][0].bold) << k;
        ASSERT_EQ(blocks[b + 1].size(), 1u) << k;
        EXPECT_EQ(blocks[b + 1][0].colour, QColor(0, 128, 128)) << k;
        EXPECT_FALSE(blocks[b + 1][0].bold) << k;
        ASSERT_EQ(blocks[b + 2].size(), 1u) << k;
        EXPECT_EQ(blocks[b + 2][0].colour, QColor(128, 0, 0)) << k;
        EXPECT_FALSE(blocks[b + 2][0].bold) << k;
        EXPECT_TRUE(blocks[b + 3].empty()) << k;
    }
    EXPECT_TRUE(blocks[48].empty());
}

TEST(HouseLordReport, SecondReadingLeavesNoTraceOfTheFirstAndKeepsTheBoxFont) {
    QTextDocument document;
    QFont boxFont("DejaVu Serif", 13);
    document.setDefaultFont(boxFont);
    document.setPlainText("text typed before\nthe first reading");
    FillBlocks("first");
    WriteHouseLordReport(document);
    FillBlocks("second");
    WriteHouseLordReport(document);

    const QString text = document.toPlainText();
    EXPECT_FALSE(text.contains("first")) << text.toStdString();
    EXPECT_FALSE(text.contains("before"));
    EXPECT_TRUE(text.startsWith("second heading 1\n"));
    EXPECT_EQ(document.blockCount(), 49);
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            EXPECT_FALSE(f.hasProperty(QTextFormat::FontFamilies) ||
                         f.hasProperty(QTextFormat::FontPointSize))
                << it.fragment().text().toStdString();
        }
    EXPECT_EQ(document.defaultFont(), boxFont);
}

TEST(HouseLordReport, RealReadingShowsTheSameTextAsThePlainReport) {
    const BirthEntry entry = Entry1947();
    ASSERT_TRUE(CopyEntryToBirthData(entry));
    ASSERT_TRUE(ComputeReading());
    QTextDocument document;
    WriteHouseLordReport(document);
    QString expected = QString::fromStdString(HouseLordReportText());
    expected.replace("\r\n", "\n");
    EXPECT_EQ(document.toPlainText(), expected);
    EXPECT_TRUE(document.toPlainText().startsWith("Lord of the 1st House Mars is placed in House "));
}

} // namespace
