#include "grid/widget/ziv_edit.h"

#include "Engine/errors.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

struct TypingCase
{
    const char *name;
    bool natural;
    bool isDouble;
    const char *typed;
    const char *expected;
};

class ZIVEditTyping : public ::testing::TestWithParam<TypingCase>
{
};

TEST_P(ZIVEditTyping, KeepsOnlyThePermittedCharacters)
{
    const TypingCase &c = GetParam();
    ZIVEdit edit;
    edit.setIsNatural(c.natural);
    edit.setIsDouble(c.isDouble);
    QTest::keyClicks(edit.edit(), c.typed);
    EXPECT_EQ(edit.text().toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Filters, ZIVEditTyping,
                         ::testing::Values(TypingCase{"free", false, false, "ab.-1", "ab.-1"},
                                           TypingCase{"natural", true, false, "a1.2-3x", "12-3"},
                                           TypingCase{"naturalMinusInside", true, false, "1-2",
                                                      "1-2"},
                                           TypingCase{"naturalNegative", true, false, "-12", "-12"},
                                           TypingCase{"double", false, true, "1,5.2-e", "1,5.2-"},
                                           TypingCase{"both", true, true, "1,5.2-e", "152-"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ZIVEdit, BackspaceAndNavigationPassTheFilter)
{
    ZIVEdit edit;
    edit.setIsNatural(true);
    QTest::keyClicks(edit.edit(), "123");
    QTest::keyClick(edit.edit(), Qt::Key_Left);
    QTest::keyClick(edit.edit(), Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "13");
}

TEST(ZIVEdit, PasteInsertsAnyTextButCutAndSelectAllAreDropped)
{
    ZIVEdit edit;
    edit.setIsNatural(true);
    QGuiApplication::clipboard()->setText("abc");
    QTest::keyClick(edit.edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "abc");

    // Ctrl+A would select all so that the next digit replaced the text.
    QTest::keyClick(edit.edit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit.edit(), "7");
    EXPECT_EQ(edit.text(), "abc7");
    QTest::keyClick(edit.edit(), Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(edit.edit(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "abc7");
    QTest::keyClick(edit.edit(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "abc7");
}

TEST(ZIVEdit, ReturnStillReachesTheDialogsDefaultButton)
{
    QDialog dialog;
    auto *edit = new ZIVEdit(&dialog);
    edit->setIsNatural(true);
    auto *ok = new QPushButton("OK", &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(ok);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(edit->edit(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(ZIVEdit, SelectAllWorksWithoutAFilter)
{
    ZIVEdit edit;
    edit.setText("abc");
    QTest::keyClick(edit.edit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit.edit(), "7");
    EXPECT_EQ(edit.text(), "7");
}

TEST(ZIVEdit, ValueReadsTheTextAsAWholeNumber)
{
    ZIVEdit edit;
    EXPECT_EQ(edit.GetValue(), 0);
    edit.SetValue(-7);
    EXPECT_EQ(edit.text(), "-7");
    EXPECT_EQ(edit.GetValue(), -7);
    for (const char *bad : {"1-2", "12a", " 3", "99999999999"}) {
        edit.setText(bad);
        EXPECT_THROW(edit.GetValue(), EConvertError) << bad;
    }
}

TEST(ZIVEdit, DoubleReadsAndWritesTheGeneralFormat)
{
    ZIVEdit edit;
    edit.SetDouble(3.0);
    EXPECT_EQ(edit.text(), "3");
    edit.SetDouble(2.5);
    EXPECT_EQ(edit.GetDouble(), 2.5);
    edit.setText("");
    EXPECT_THROW(edit.GetDouble(), EConvertError);
    edit.setText("1.2.3");
    EXPECT_THROW(edit.GetDouble(), EConvertError);
}

TEST(ZIVEdit, ReportsEveryChangeOfItsText)
{
    ZIVEdit edit;
    QSignalSpy changes(&edit, &ZIVEdit::textChanged);
    edit.SetValue(5);
    QTest::keyClicks(edit.edit(), "1");
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(1).at(0).toString(), "51");
}

TEST(ZIVEdit, LabelShowsItsCaptionAsPlainTextLeftOfTheBox)
{
    ZIVEdit edit;
    edit.setEditLabel("<b>Team Id</b>");
    edit.resize(200, 24);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    EXPECT_EQ(edit.label()->textFormat(), Qt::PlainText);
    EXPECT_EQ(edit.editLabel(), "<b>Team Id</b>");
    EXPECT_EQ(edit.edit()->geometry().left() - edit.label()->geometry().right() - 1,
              ZIVEdit::LabelSpacing);
    EXPECT_EQ(edit.focusProxy(), edit.edit());
}

} // namespace
