// Grid refill, filter and sort beside std::stable_sort on the same keys and beside Qt's
// QSortFilterProxyModel over a QStandardItemModel holding the same data.
#include "bench_regime.h"
#include "grid/core/grid_core.h"
#include "grid/core/grid_update.h"
#include "grid/widget/collation.h"

#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

struct Data
{
    std::vector<int> id, a, b, c;
    std::vector<std::string> name;
    std::size_t textBytes = 0;
};

// Deterministic rows: names of 6 to 12 letters, keys with many ties in `a`.
const Data &data(int n)
{
    static std::map<int, Data> cache;
    Data &d = cache[n];
    if (!d.id.empty())
        return d;
    std::mt19937 random(12345);
    for (int i = 0; i < n; ++i) {
        d.id.push_back(i);
        std::string name(6 + random() % 7, ' ');
        for (char &ch : name)
            ch = static_cast<char>('a' + random() % 26);
        name[0] = static_cast<char>(name[0] - 32);
        d.textBytes += name.size();
        d.name.push_back(std::move(name));
        d.a.push_back(static_cast<int>(random() % 100));
        d.b.push_back(static_cast<int>(random() % 1000));
        d.c.push_back(static_cast<int>(random() % 1000000));
    }
    return d;
}

const std::vector<std::string> headers = {"id;id;s", "name", "a", "b", "c"};

// The way a list window rebuilds: one bracket, each column resolved once.
void fill(ZIVGridCore &grid, const Data &d)
{
    const ZIVGridUpdate update(grid);
    grid.clear();
    ZIVGridColumn &id = *grid.getColumn("id", true), &name = *grid.getColumn("name", true),
                  &a = *grid.getColumn("a", true), &b = *grid.getColumn("b", true),
                  &c = *grid.getColumn("c", true);
    for (std::size_t i = 0; i < d.id.size(); ++i) {
        ZIVGridRow &row = grid.addRow();
        row.cell(id).setLong(d.id[i]);
        row.cell(name).setString(d.name[i]);
        row.cell(a).setInt(d.a[i]);
        row.cell(b).setInt(d.b[i]);
        row.cell(c).setInt(d.c[i]);
    }
}

// The same rebuild naming each column at every cell.
void fillByName(ZIVGridCore &grid, const Data &d)
{
    const ZIVGridUpdate update(grid);
    grid.clear();
    for (std::size_t i = 0; i < d.id.size(); ++i) {
        ZIVGridRow &row = grid.addRow();
        row.setLong("id", d.id[i]);
        row.setString("name", d.name[i]);
        row.setInt("a", d.a[i]);
        row.setInt("b", d.b[i]);
        row.setInt("c", d.c[i]);
    }
}

std::unique_ptr<ZIVGridCore> filledGrid(int n)
{
    auto grid = std::make_unique<ZIVGridCore>();
    grid->SetHeaders(headers);
    fill(*grid, data(n));
    return grid;
}

constexpr const char *mask = "*ab*";

void setKeys(ZIVGridCore &grid, std::initializer_list<const char *> names)
{
    grid.sorter().clear();
    for (const char *name : names)
        grid.sorter().addSortColumn(*grid.getColumn(name, true), true);
}

// Refills a grid of the given size again and again with one of the two ways above.
template <void (*Fill)(ZIVGridCore &, const Data &)> void refill(benchmark::State &state)
{
    const Data &d = data(static_cast<int>(state.range(0)));
    ZIVGridCore grid;
    grid.SetHeaders(headers);
    for (auto _ : state)
        Fill(grid, d);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_GridRefill(benchmark::State &state)
{
    refill<fill>(state);
}

void BM_GridRefillByName(benchmark::State &state)
{
    refill<fillByName>(state);
}

void BM_GridFilter(benchmark::State &state)
{
    auto grid = filledGrid(static_cast<int>(state.range(0)));
    grid->SetSorted(false);
    grid->getColumn("name", true)->setFilter(mask);
    for (auto _ : state)
        grid->filter();
    state.counters["shown"] = grid->rowNum();
}

// Each iteration sorts twice, by keys that scramble each other's order.
void sortTwice(ZIVGridCore &grid, std::initializer_list<const char *> first,
               std::initializer_list<const char *> second)
{
    setKeys(grid, first);
    grid.sortNow();
    setKeys(grid, second);
    grid.sortNow();
}

void BM_GridSort1Key(benchmark::State &state)
{
    auto grid = filledGrid(static_cast<int>(state.range(0)));
    for (auto _ : state)
        sortTwice(*grid, {"c"}, {"b"});
}

void BM_GridSort3Keys(benchmark::State &state)
{
    auto grid = filledGrid(static_cast<int>(state.range(0)));
    for (auto _ : state)
        sortTwice(*grid, {"a", "b", "c"}, {"b", "c", "a"});
}

void BM_GridFilterSort(benchmark::State &state)
{
    auto grid = filledGrid(static_cast<int>(state.range(0)));
    grid->getColumn("name", true)->setFilter(mask);
    for (auto _ : state) {
        setKeys(*grid, {"c"});
        grid->filter();
        setKeys(*grid, {"b"});
        grid->filter();
    }
}

// ---- names in people's order beside byte order

// The grid of the sizes above with every third name starting with an accented capital, as
// European squads have them; sorted by name after a sort by "c" has scrambled the rows.
std::unique_ptr<ZIVGridCore> namesGrid(int n)
{
    auto grid = filledGrid(n);
    const char *accented[] = {"Ó", "É", "Å", "Ö"};
    ZIVGridColumn &name = *grid->getColumn("name", true);
    for (int i = 0; i < n; i += 3) {
        ZIVGridCell &cell = grid->getRow(i, true)->cell(name);
        cell.setString(accented[i % 4] + cell.asString().substr(1));
    }
    return grid;
}

enum class NameOrder { bytes, collatedKeysMade, collatedKeysKept };

template <NameOrder order> void sortNames(benchmark::State &state)
{
    auto grid = namesGrid(static_cast<int>(state.range(0)));
    if (order != NameOrder::bytes)
        sortByCollation(*grid, {"name"}, QLocale(QLocale::English, QLocale::UnitedStates));
    ZIVGridCell &first = grid->getRow(0, true)->cell("name");
    const std::string firstName = first.asString();
    for (auto _ : state) {
        state.PauseTiming();
        setKeys(*grid, {"c"});
        grid->sortNow();
        // A refill: the cells changed, so the collation keys are made again in the sort.
        if (order == NameOrder::collatedKeysMade)
            first.setString(firstName);
        setKeys(*grid, {"name"});
        state.ResumeTiming();
        grid->sortNow();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SortNamesByteOrder(benchmark::State &state)
{
    sortNames<NameOrder::bytes>(state);
}

// Keys made for every row, then the sort: what a refill of a list sorted by name costs.
void BM_SortNamesCollated(benchmark::State &state)
{
    sortNames<NameOrder::collatedKeysMade>(state);
}

// The keys of the last refill still good: what a click on the name header costs.
void BM_SortNamesCollatedKeysKept(benchmark::State &state)
{
    sortNames<NameOrder::collatedKeysKept>(state);
}

// endUpdate finding a selection of 1000 rows spread over the grid, the last row included.
void BM_GridEndUpdateRestore1000(benchmark::State &state)
{
    const int n = static_cast<int>(state.range(0));
    auto grid = filledGrid(n);
    for (int i = 0; i < 1000; ++i)
        grid->getRow(static_cast<int>((static_cast<long long>(n - 1) * (999 - i)) / 999))->select();
    for (auto _ : state) {
        grid->beginUpdate();
        grid->GetSelectedRows().clear();
        grid->endUpdate();
    }
    state.counters["selected"] = static_cast<double>(grid->GetSelectedRows().size());
}

// ---- baseline A: indices sorted by the same values

void stableSortBy(std::vector<int> &order, std::initializer_list<const std::vector<int> *> keys)
{
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        for (const std::vector<int> *key : keys) {
            if ((*key)[x] != (*key)[y])
                return (*key)[x] < (*key)[y];
        }
        return false;
    });
}

void BM_BaselineStableSort1Key(benchmark::State &state)
{
    const Data &d = data(static_cast<int>(state.range(0)));
    std::vector<int> order(d.id);
    for (auto _ : state) {
        stableSortBy(order, {&d.c});
        stableSortBy(order, {&d.b});
    }
}

void BM_BaselineStableSort3Keys(benchmark::State &state)
{
    const Data &d = data(static_cast<int>(state.range(0)));
    std::vector<int> order(d.id);
    for (auto _ : state) {
        stableSortBy(order, {&d.a, &d.b, &d.c});
        stableSortBy(order, {&d.b, &d.c, &d.a});
    }
}

// ---- baseline B: Qt's proxy model

std::unique_ptr<QStandardItemModel> qtModel(const Data &d)
{
    auto model = std::make_unique<QStandardItemModel>(static_cast<int>(d.id.size()), 5);
    for (int i = 0; i < static_cast<int>(d.id.size()); ++i) {
        const int values[] = {d.id[i], 0, d.a[i], d.b[i], d.c[i]};
        for (int col = 0; col < 5; ++col) {
            auto *item = new QStandardItem;
            if (col == 1)
                item->setData(QString::fromStdString(d.name[i]), Qt::DisplayRole);
            else
                item->setData(values[col], Qt::DisplayRole);
            model->setItem(i, col, item);
        }
    }
    return model;
}

// The proxy filters the name column, ignoring case, as the grid's mask does.
void filterOnNames(QSortFilterProxyModel &proxy, QStandardItemModel &model)
{
    proxy.setSourceModel(&model);
    proxy.setFilterKeyColumn(1);
    proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
}

void BM_QtProxyFilter(benchmark::State &state)
{
    auto model = qtModel(data(static_cast<int>(state.range(0))));
    QSortFilterProxyModel proxy;
    filterOnNames(proxy, *model);
    bool flip = false;
    for (auto _ : state) {
        // Alternate two equivalent patterns so that every iteration re-filters.
        proxy.setFilterWildcard(flip ? "*ab*" : "*AB*");
        flip = !flip;
        benchmark::DoNotOptimize(proxy.rowCount());
    }
    state.counters["shown"] = proxy.rowCount();
}

void BM_QtProxyFilterSort(benchmark::State &state)
{
    auto model = qtModel(data(static_cast<int>(state.range(0))));
    QSortFilterProxyModel proxy;
    filterOnNames(proxy, *model);
    bool flip = false;
    for (auto _ : state) {
        proxy.setFilterWildcard(flip ? "*ab*" : "*AB*");
        proxy.sort(4);
        proxy.setFilterWildcard(flip ? "*AB*" : "*ab*");
        proxy.sort(3);
        flip = !flip;
        benchmark::DoNotOptimize(proxy.rowCount());
    }
}

void BM_QtProxySort1Key(benchmark::State &state)
{
    auto model = qtModel(data(static_cast<int>(state.range(0))));
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(model.get());
    for (auto _ : state) {
        proxy.sort(4);
        proxy.sort(3);
        benchmark::DoNotOptimize(proxy.rowCount());
    }
}

// ---- resident memory

long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Measured before the big data exist, so that freed memory of theirs cannot hide the cost.
void reportMemory()
{
    {
        const long before = residentBytes();
        ZIVGridCore empty;
        empty.SetHeaders(headers);
        const long emptyGrid = residentBytes();
        ZIVGridCore one;
        one.SetHeaders(headers);
        fill(one, data(1));
        const long oneRow = residentBytes();
        std::printf("memory: empty grid %ld bytes, one-row grid %ld bytes more than empty\n",
                    emptyGrid - before, oneRow - emptyGrid);
    }
    const Data &big = data(1000000);
    const long before = residentBytes();
    {
        ZIVGridCore grid;
        grid.SetHeaders(headers);
        fill(grid, big);
        const long after = residentBytes();
        const double cells = 5.0 * big.id.size();
        std::printf("memory: 10^6 rows x 5 columns: %.1f bytes per filled cell "
                    "(%.1f beyond the %zu text bytes)\n",
                    (after - before) / cells, (after - before - double(big.textBytes)) / cells,
                    big.textBytes);
    }
}

} // namespace

#define SIZES RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)
#define QT_SIZES RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)

BENCHMARK(BM_GridRefill)->SIZES;
BENCHMARK(BM_GridRefillByName)->SIZES;
BENCHMARK(BM_GridFilter)->SIZES;
BENCHMARK(BM_QtProxyFilter)->QT_SIZES;
BENCHMARK(BM_GridSort1Key)->SIZES;
BENCHMARK(BM_BaselineStableSort1Key)->SIZES;
BENCHMARK(BM_QtProxySort1Key)->QT_SIZES;
BENCHMARK(BM_GridSort3Keys)->SIZES;
BENCHMARK(BM_BaselineStableSort3Keys)->SIZES;
BENCHMARK(BM_GridFilterSort)->SIZES;
BENCHMARK(BM_QtProxyFilterSort)->QT_SIZES;
BENCHMARK(BM_SortNamesByteOrder)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortNamesCollated)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortNamesCollatedKeysKept)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridEndUpdateRestore1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    keepLargeAllocations();
    reportMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
