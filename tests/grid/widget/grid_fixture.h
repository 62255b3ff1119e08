#pragma once

#include "grid/core/grid_update.h"
#include "grid/widget/ziv_grid.h"

#include <QCoreApplication>
#include <QDir>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

// Writes a picture of the widget for a reviewer's eyes beside the test program; true when saved.
inline bool saveScreenshot(QWidget &widget, const QString &name)
{
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    return QDir().mkpath(folder) && widget.grab().save(folder + "/" + name);
}

// A grid whose boxes are recorded instead of shown, so tests run without blocking.
class RecordingGrid : public ZIVGrid
{
public:
    using ZIVGrid::ZIVGrid;

    std::vector<QString> messages;
    std::vector<QString> errors;
    std::vector<QString> askedCaptions, askedPrompts, askedTexts;
    std::optional<QString> answer;
    QString saveAnswer;

protected:
    void showMessage(const QString &text) override { messages.push_back(text); }
    void showError(const QString &message) override { errors.push_back(message); }
    std::optional<QString> askText(const QString &caption, const QString &prompt,
                                   const QString &text) override
    {
        askedCaptions.push_back(caption);
        askedPrompts.push_back(prompt);
        askedTexts.push_back(text);
        return answer;
    }
    QString askSaveFileName(const QString &) override { return saveAnswer; }
};

// A shown grid of clubs: a system-hidden id, a name and a goal count per row.
class GridTest : public ::testing::Test
{
protected:
    RecordingGrid grid;

    void SetUp() override
    {
        grid.setObjectName("lstTest");
        grid.setFrameShape(QFrame::NoFrame);
        grid.SetHeaders({"id;id;s", "name", "goals"});
        grid.SetHeadersString("test");
        grid.resize(400, 300);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    // Rows with ids 1.. in the given order.
    void fill(const std::vector<std::pair<std::string, int>> &clubs)
    {
        const ZIVGridUpdate update(grid);
        grid.clear();
        int id = 1;
        for (const auto &[name, goals] : clubs) {
            ZIVGridRow &row = grid.addRow();
            row.setLong("id", id++);
            row.setString("name", name);
            row.setInt("goals", goals);
        }
    }

    void fillNumbered(int count)
    {
        const ZIVGridUpdate update(grid);
        grid.clear();
        for (int i = 0; i < count; ++i) {
            ZIVGridRow &row = grid.addRow();
            row.setLong("id", i + 1);
            row.setString("name", "club " + std::to_string(i));
            row.setInt("goals", i);
        }
    }

    QPoint centre(int col, int row) const { return grid.cellRect(col, row).center(); }

    void click(int col, int row, Qt::KeyboardModifiers mods = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(grid.viewport(), button, mods, centre(col, row));
    }
    void clickAt(QPoint pos, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(grid.viewport(), button, mods, pos);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(&grid, k, mods);
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const ZIVGridRow *row : grid.rows())
            result.push_back(row->getString("name"));
        return result;
    }
    // Display indexes of the selected rows, ascending.
    std::vector<int> selection() const
    {
        std::vector<int> result;
        for (const ZIVGridRow *row : grid.GetSelectedRows())
            result.push_back(row->index());
        std::sort(result.begin(), result.end());
        return result;
    }
    int focusedIndex() const { return grid.GetFocusedRow() ? grid.GetFocusedRow()->index() : -1; }
};
