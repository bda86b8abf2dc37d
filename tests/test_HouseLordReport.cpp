// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/HouseLordReport.h"

#include "pipeline/ReadingPipeline.h"
#include "reading/HouseLords.h"
#include "reading/ReadingTexts.h"
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

QString PlainReport(const Reading& r) {
    return QString::fromStdString(HouseLordReportText(r)).replace("\r\n", "\n");
}

// Lagna Aries and every planet in Scorpio: the Sun, lord of the 5th, stands in the 8th, whose text
// has dashes beyond ASCII.
Reading AllInScorpio() {
    Reading r;
    r.signs.fill(7);
    r.signs[static_cast<std::size_t>(BodySlot::Ascendant)] = 0;
    r.houseLords = PlaceHouseLords(r.signs, HouseCounting::FromAries);
    return r;
}

TEST(HouseLordReport, TwelveBlocksInTheirColoursWithBoldHeadings) {
    const Reading r = AllInScorpio();
    QTextDocument document;
    WriteHouseLordReport(document, r);
    EXPECT_EQ(document.toPlainText(), PlainReport(r));
    EXPECT_TRUE(document.toPlainText().contains(QChar(0x2013)));

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
    const std::optional<Reading> first = ReadingOf(Entry1947());
    const std::optional<Reading> second = ReadingOf(Entry1980());
    ASSERT_TRUE(first && second);
    WriteHouseLordReport(document, *first);
    WriteHouseLordReport(document, *second);

    const QString text = document.toPlainText();
    EXPECT_EQ(text, PlainReport(*second));
    EXPECT_FALSE(text.contains(QString::fromStdString(HouseLordHeading(*first, 1))));
    EXPECT_FALSE(text.contains("before"));
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
    const std::optional<Reading> r = ReadingOf(Entry1947());
    ASSERT_TRUE(r);
    QTextDocument document;
    WriteHouseLordReport(document, *r);
    EXPECT_EQ(document.toPlainText(), PlainReport(*r));
    EXPECT_TRUE(document.toPlainText().startsWith("Lord of the 1st House Mars is placed in House "));
}

} // namespace
