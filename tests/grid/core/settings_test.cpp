#include "grid_test_support.h"

#include "Engine/errors.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <sstream>

namespace {

std::string xmlText(const pugi::xml_node &node)
{
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (CountingGrid *grid : {&source, &target}) {
            grid->setComponentName("lstSummary");
            grid->SetHeaders({"id;id;s", "home team", "away team", "note;note;h"});
        }
        addIdNameRows(target, {});
        for (const char *home : {"Arsenal", "Barcelona", "Ajax"}) {
            ZIVGridRow &row = target.addRow();
            row.setLong("id", target.rowNum());
            row.setString("home team", home);
            row.setString("away team", std::string("x") + home);
        }
    }

    CountingGrid source, target;
};

TEST_F(SettingsTest, ExportShape)
{
    source.getColumn("home team", true)->setFilter("ar");
    source.getColumn("home team", true)->setSize(120);
    source.getColumn("away team", true)->setSize(80);
    source.sorter().addSortColumn(*source.getColumn("away team", true), false);
    pugi::xml_document doc;
    source.exportSettingsToXML(doc.append_child("Settings"));
    EXPECT_EQ(xmlText(doc.first_child()),
              "<Settings><ZIVGrid><Name>lstSummary</Name>"
              "<Column><Name>home team</Name><Filter>ar</Filter><Size>120</Size></Column>"
              "<Column><Name>away team</Name><Filter></Filter><Size>80</Size></Column>"
              "<RowSorter><ColName>away team</ColName><Order>0</Order></RowSorter>"
              "</ZIVGrid></Settings>");
}

TEST_F(SettingsTest, RoundTrip)
{
    source.getColumn("home team", true)->setFilter("a");
    source.getColumn("away team", true)->setSize(77);
    source.sorter().addSortColumn(*source.getColumn("home team", true), false);
    source.sorter().addSortColumn(*source.getColumn("id", true), true);
    pugi::xml_document doc;
    pugi::xml_node parent = doc.append_child("Settings");
    source.exportSettingsToXML(parent);

    EXPECT_FALSE(target.hasXML());
    target.importSettingsFromXML(parent);
    EXPECT_TRUE(target.hasXML());
    EXPECT_EQ(target.getColumn("home team", true)->filterText(), "a");
    EXPECT_EQ(target.getColumn("away team", true)->size(), 77);
    ASSERT_EQ(target.sorter().keys().size(), 2u);
    EXPECT_EQ(target.sorter().keys()[0].column->name(), "home team");
    EXPECT_FALSE(target.sorter().keys()[0].ascending);
    EXPECT_EQ(target.rowNum(), 2); // filtered at once
    EXPECT_TRUE(target.updatesEnabled());

    target.getColumn("home team", true)->setFilter("");
    target.importSettingsFromXML(); // applies the kept node again
    EXPECT_EQ(target.getColumn("home team", true)->filterText(), "a");
}

// Columns the user hid or showed are remembered with their filters and widths, there and back.
TEST_F(SettingsTest, ShownAndHiddenColumnsRoundTrip)
{
    ZIVGridColumn &away = *source.getColumn("away team", true),
                  &note = *source.getColumn("note", true);
    away.setSize(90);
    away.setVisibility(ZIVGridColumn::hidden);
    note.setVisibility(ZIVGridColumn::visible);
    note.setFilter("!x");
    pugi::xml_document doc, again;
    source.exportSettingsToXML(doc.append_child("Settings"));
    target.importSettingsFromXML(doc.first_child());
    ASSERT_EQ(target.visibleColumns().size(), 2u);
    EXPECT_EQ(target.visibleColumns()[1]->name() + target.visibleColumns()[1]->filterText(),
              "note!x");
    EXPECT_EQ(target.getColumn("away team", true)->size(), 90);
    target.exportSettingsToXML(again.append_child("Settings"));
    away.setVisibility(ZIVGridColumn::visible);
    source.importSettingsFromXML(again.first_child());
    EXPECT_EQ(away.visibility(), ZIVGridColumn::hidden);
}

// The grid applies its own copy again: what the caller's document does later is no matter.
TEST_F(SettingsTest, TheKeptSettingsOutliveTheCallersDocument)
{
    source.getColumn("home team", true)->setFilter("a");
    {
        pugi::xml_document doc;
        pugi::xml_node parent = doc.append_child("Settings");
        source.exportSettingsToXML(parent);
        target.importSettingsFromXML(parent);
        parent.child("ZIVGrid").child("Column").child("Filter").text().set("zz");
    }
    target.getColumn("home team", true)->setFilter("");
    target.importSettingsFromXML();
    EXPECT_TRUE(target.hasXML());
    EXPECT_EQ(target.getColumn("home team", true)->filterText(), "a");
    EXPECT_EQ(target.rowNum(), 2);
}

TEST_F(SettingsTest, OtherNameIsSkipped)
{
    pugi::xml_document doc;
    pugi::xml_node parent = doc.append_child("Settings");
    source.setComponentName("lstEvents");
    source.getColumn("home team", true)->setFilter("a");
    source.exportSettingsToXML(parent);
    target.importSettingsFromXML(parent);
    EXPECT_FALSE(target.hasXML());
    EXPECT_EQ(target.getColumn("home team", true)->filterText(), "");
    target.importSettingsFromXML();
    EXPECT_EQ(target.rowNum(), 3);
}

TEST_F(SettingsTest, FaultyElements)
{
    const struct
    {
        std::string xml;
        std::string filterAfter; // effects before the fault stay
        std::size_t keysAfter;
    } cases[] = {
        {"<Column><Name>home team</Name><Filter>b</Filter><Size>wide</Size></Column>", "b", 0},
        {"<Column><Name>home team</Name><Filter>b</Filter></Column>", "b", 0},
        {"<RowSorter><ColName>home team</ColName><Order>1</Order><ColName>id</ColName>"
         "</RowSorter>",
         "", 1},
        {"<RowSorter><ColName>nowhere</ColName><Order>1</Order></RowSorter>", "", 0},
        {"<RowSorter><ColName>id</ColName><Order>up</Order></RowSorter>", "", 0},
    };
    for (const auto &c : cases) {
        target.sorter().clear();
        target.getColumn("home team", true)->setFilter("");
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(
            ("<S><ZIVGrid><Name>lstSummary</Name>" + c.xml + "</ZIVGrid></S>").c_str()));
        EXPECT_THROW(target.importSettingsFromXML(doc.first_child()), Exception) << c.xml;
        EXPECT_TRUE(target.updatesEnabled());
        EXPECT_EQ(target.getColumn("home team", true)->filterText(), c.filterAfter) << c.xml;
        EXPECT_EQ(target.sorter().keys().size(), c.keysAfter) << c.xml;
    }
}

TEST_F(SettingsTest, SorterPairsByPositionAndHiddenColumnsIgnored)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<S><ZIVGrid><Name>lstSummary</Name>"
                                "<Column><Name>note</Name><Filter>zzz</Filter><Size>5</Size>"
                                "</Column>"
                                "<RowSorter><A>away team</A><B>1</B><A>away team</A><B>1</B>"
                                "<C>id</C><D>0</D></RowSorter>"
                                "<RowSorter><ColName>home team</ColName><Order>1</Order>"
                                "</RowSorter></ZIVGrid></S>"));
    target.importSettingsFromXML(doc.first_child());
    EXPECT_EQ(target.getColumn("note", true)->filterText(), "");
    const auto &keys = target.sorter().keys();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].column->name(), "away team");
    EXPECT_FALSE(keys[0].ascending); // named twice: flipped
    EXPECT_EQ(keys[1].column->name(), "id");
    EXPECT_FALSE(keys[1].ascending);
}

} // namespace
