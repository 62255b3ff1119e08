#include "grid/core/grid_update.h"
#include "grid/widget/ziv_grid.h"
#include "ui/select_base_dialog.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

// Runs `action` on the modal dialog once it is up.
void whenModal(std::function<void(QDialog *)> action)
{
    QTimer::singleShot(30, [action = std::move(action)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no modal dialog is shown";
        action(dialog);
    });
}

// Clicks the data row of `grid` that is `index` rows below the header.
void clickRow(ZIVGrid *grid, int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QRect cell = grid->cellRect(0, index + 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
}

// A selection dialog of fixed candidates, counting its resets.
class FixedSelection : public TfrmSelectBase
{
public:
    void reset() override { ++resets; }
    void refill() override
    {
        const ZIVGridUpdate update(*lstList);
        lstList->clear();
        ZIVGridColumn &id = *lstList->getColumn("id", true);
        ZIVGridColumn &name = *lstList->getColumn("name", true);
        for (const auto &[key, text] : candidates) {
            ZIVGridRow &row = lstList->addRow();
            row.cell(id).setLong(key);
            row.cell(name).setString(text);
        }
        lstList->filter();
        if (lstList->GetSorted())
            lstList->sortNow();
    }

    TSelection candidates{{7, "seven"}, {3, "three"}, {5, "five"}};
    int resets = 0;
};

TEST(SelectBase, LayoutKeepsTheButtonsCentredAndHasTheHeaderMenu)
{
    FixedSelection dialog;
    EXPECT_EQ(dialog.panBaseButtons->height(), 41);
    EXPECT_EQ(dialog.panOkCancel->size(), QSize(185, 25));
    EXPECT_TRUE(dialog.btnOk->isDefault());
    EXPECT_EQ(dialog.lstList->headersText(), "frmSelectBase");
    EXPECT_TRUE(dialog.lstList->FitColumnToGrid());
    EXPECT_NE(dialog.lstList->headerMenu(), nullptr);
    for (int width : {420, 601, 250}) {
        dialog.resize(width, 300);
        dialog.show();
        QApplication::processEvents();
        const int panel = dialog.panBaseButtons->width();
        EXPECT_EQ(dialog.panOkCancel->x(), (panel - 185) / 2) << "width " << width;
    }
}

struct SelectCase
{
    const char *name;
    std::vector<std::pair<int, Qt::KeyboardModifiers>> clicks; // display index, modifiers
    bool confirm;                                               // OK, else Escape
    TSelection before;
    TSelection expected;
};

class SelectBaseCases : public ::testing::TestWithParam<SelectCase>
{};

TEST_P(SelectBaseCases, FillsTheMapOnOkAndEmptiesItOnCancel)
{
    const SelectCase &c = GetParam();
    FixedSelection dialog;
    TSelection selection = c.before;
    whenModal([&](QDialog *shown) {
        EXPECT_EQ(shown, &dialog);
        for (const auto &[index, modifiers] : c.clicks)
            clickRow(dialog.lstList, index, modifiers);
        if (c.confirm)
            QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        else
            QTest::keyClick(dialog.lstList, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.select(selection), c.confirm);
    EXPECT_EQ(selection, c.expected);
    EXPECT_EQ(dialog.resets, 1);
}

const Qt::KeyboardModifiers none = Qt::NoModifier;
const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;

// Sorted by "id": display index 0 is 3, 1 is 5, 2 is 7.
INSTANTIATE_TEST_SUITE_P(
    Cases, SelectBaseCases,
    ::testing::Values(
        SelectCase{"three_rows_ok", {{0, none}, {1, ctrl}, {2, ctrl}}, true, {},
                   {{3, "three"}, {5, "five"}, {7, "seven"}}},
        SelectCase{"other_entries_stay", {{1, none}}, true, {{99, "kept"}, {5, "old"}},
                   {{5, "five"}, {99, "kept"}}},
        SelectCase{"nothing_selected", {}, true, {{1, "kept"}}, {{1, "kept"}}},
        SelectCase{"cancel_empties", {{0, none}}, false, {{1, "gone"}}, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SelectBase, DoubleClickClosesWithOkOnlyOnAFocusedRow)
{
    FixedSelection dialog;
    dialog.candidates.clear();
    TSelection selection;
    bool stillOpen = false;
    whenModal([&](QDialog *) {
        // An empty list: nothing is focused, so the double click does not close.
        QTest::mouseDClick(dialog.lstList->viewport(), Qt::LeftButton, Qt::NoModifier,
                           dialog.lstList->cellRect(0, 1).center());
        stillOpen = dialog.isVisible();
        dialog.reject();
    });
    EXPECT_FALSE(dialog.select(selection));
    EXPECT_TRUE(stillOpen);

    FixedSelection filled;
    whenModal([&](QDialog *) {
        const QPoint second = filled.lstList->cellRect(0, 2).center();
        QTest::mouseClick(filled.lstList->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QTest::mouseDClick(filled.lstList->viewport(), Qt::LeftButton, Qt::NoModifier, second);
        QTimer::singleShot(200, &filled, &QDialog::reject); // a net should the click fail
    });
    EXPECT_TRUE(filled.select(selection));
    EXPECT_EQ(selection, (TSelection{{5, "five"}}));
}

} // namespace
