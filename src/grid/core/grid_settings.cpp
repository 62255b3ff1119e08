// The grid's view settings (filters, widths, sort keys, the columns the user showed or hid) as
// an XML element. A column whose visibility is the declared one carries no "Visible" child, so
// settings of a grid the user never changed that way look as they always did.
#include "Engine/convert.h"
#include "Engine/errors.h"
#include "grid/core/grid_core.h"
#include "grid/core/grid_update.h"

#include <pugixml.hpp>

#include <algorithm>
#include <string>
#include <vector>

void ZIVGridCore::exportSettingsToXML(pugi::xml_node parent) const
{
    pugi::xml_node element = parent.append_child("ZIVGrid");
    element.append_child("Name").text().set(componentName().c_str());
    for (const ZIVGridColumn *column : visibleColumns_)
        column->exportSettings(element);
    // Then the columns the user hid, in their declared order.
    std::vector<const ZIVGridColumn *> hiddenByUser;
    for (const auto &entry : columns_)
        if (entry.second->visibility() == ZIVGridColumn::hidden &&
            entry.second->declaredVisibility() == ZIVGridColumn::visible)
            hiddenByUser.push_back(entry.second.get());
    std::sort(hiddenByUser.begin(), hiddenByUser.end(),
              [](const auto *a, const auto *b) { return a->position() < b->position(); });
    for (const ZIVGridColumn *column : hiddenByUser)
        column->exportSettings(element);
    sorter_->exportSettings(element);
}

void ZIVGridCore::importSettingsFromXML(pugi::xml_node parent)
{
    const ZIVGridUpdate update(*this);
    const std::string name = componentName();
    for (pugi::xml_node element : parent.children("ZIVGrid")) {
        if (element.child("Name").text().get() == name) {
            settings.reset();
            settings.append_copy(element);
            importSettingsFromXML();
            break;
        }
    }
}

void ZIVGridCore::importSettingsFromXML()
{
    const pugi::xml_node element = settings.document_element();
    if (element.empty())
        return;
    const TZIVGridVisibleColumns shown = visibleColumns_;
    for (ZIVGridColumn *column : shown)
        column->importSettings(element);
    for (auto &entry : columns_)
        entry.second->importVisibility(element);
    sorter_->importSettings(element);
    settingsImported();
}

void ZIVGridColumn::exportSettings(pugi::xml_node gridElement) const
{
    pugi::xml_node element = gridElement.append_child("Column");
    element.append_child("Name").text().set(name_.c_str());
    element.append_child("Filter").text().set(filterText_.c_str());
    element.append_child("Size").text().set(std::to_string(size_).c_str());
    if (visibility_ != declaredVisibility_)
        element.append_child("Visible").text().set(visibility_ == visible ? "1" : "0");
}

pugi::xml_node ZIVGridColumn::settingsElement(pugi::xml_node gridElement) const
{
    for (pugi::xml_node element : gridElement.children("Column"))
        if (element.child("Name").text().get() == name_)
            return element;
    return {};
}

void ZIVGridColumn::importSettings(pugi::xml_node gridElement)
{
    const pugi::xml_node element = settingsElement(gridElement);
    if (element.empty())
        return;
    setFilter(element.child("Filter").text().get());
    size_ = toInt(element.child("Size").text().get());
}

// Only an explicit "Visible" shows or hides a column; a shown column then takes its settings.
void ZIVGridColumn::importVisibility(pugi::xml_node gridElement)
{
    const pugi::xml_node flag = settingsElement(gridElement).child("Visible");
    if (flag.empty() || visibility_ == systemHidden)
        return;
    const bool show = toInt(flag.text().get()) != 0;
    if (show && visibility_ == hidden) {
        setVisibility(visible);
        importSettings(gridElement);
    } else if (!show && visibility_ == visible) {
        setVisibility(hidden);
    }
}

void ZIVGridRowSorter::exportSettings(pugi::xml_node gridElement) const
{
    pugi::xml_node element = gridElement.append_child("RowSorter");
    for (const SorterElement &key : keys_) {
        element.append_child("ColName").text().set(key.column->name().c_str());
        element.append_child("Order").text().set(key.ascending ? "1" : "0");
    }
}

// Keys are pairs of child elements taken by position: a name, then a direction.
void ZIVGridRowSorter::importSettings(pugi::xml_node gridElement)
{
    const pugi::xml_node element = gridElement.child("RowSorter");
    if (element.empty())
        return;
    clear();
    std::vector<pugi::xml_node> items;
    for (pugi::xml_node item = element.first_child(); item; item = item.next_sibling())
        if (item.type() == pugi::node_element)
            items.push_back(item);
    for (std::size_t i = 0; i < items.size(); i += 2) {
        if (i + 1 == items.size())
            throw ERangeError("List index out of bounds (" + std::to_string(i + 1) + ")");
        ZIVGridColumn &column = *grid_->getColumn(items[i].text().get(), true);
        addSortColumn(column, toInt(items[i + 1].text().get()) != 0);
    }
}
