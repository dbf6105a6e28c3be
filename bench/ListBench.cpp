// Throughput of the list operations that every frame leans on: appending, and reusing freed
// slots the way groups, channels and threads keep their indices.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "Vlt_List.h"

namespace {

void* Item(int64_t i) { return reinterpret_cast<void*>(static_cast<intptr_t>(i + 1)); }

// Appends n entries to a fresh list: covers the geometric growth.
void BM_ListAddItem(benchmark::State& state) {
  const int64_t n = state.range(0);
  for (auto _ : state) {
    Vlt_List list;
    for (int64_t i = 0; i < n; ++i) list.AddItem(Item(i));
    benchmark::DoNotOptimize(list.GetItemCount());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ListAddItem)->Arg(64)->Arg(4096)->Arg(1 << 16);

// Appends n entries to a list that was cleared but keeps its storage, as lists rebuilt every
// frame do.
void BM_ListAddItemAfterClear(benchmark::State& state) {
  const int64_t n = state.range(0);
  Vlt_List list;
  for (auto _ : state) {
    list.ClearItems();
    for (int64_t i = 0; i < n; ++i) list.AddItem(Item(i));
    benchmark::DoNotOptimize(list.GetItemCount());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ListAddItemAfterClear)->Arg(64)->Arg(4096);

// AddItemOrNULL into a list of n entries whose single free slot sits at the given fraction of
// the list: the search for a null entry is linear.
void BM_ListAddItemOrNull(benchmark::State& state) {
  const int64_t n = state.range(0);
  const int64_t hole = n * state.range(1) / 100;
  Vlt_List list;
  for (int64_t i = 0; i < n; ++i) list.AddItem(Item(i));
  for (auto _ : state) {
    list.SetItem(nullptr, static_cast<int>(hole));
    benchmark::DoNotOptimize(list.AddItemOrNULL(Item(hole)));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ListAddItemOrNull)
    ->Args({64, 50})
    ->Args({4096, 0})
    ->Args({4096, 50})
    ->Args({4096, 99});

// AddItemOrNULL on a list without free slots appends, like AddItem after a full scan.
void BM_ListAddItemOrNullAppend(benchmark::State& state) {
  const int64_t n = state.range(0);
  for (auto _ : state) {
    Vlt_List list;
    for (int64_t i = 0; i < n; ++i) list.AddItemOrNULL(Item(i));
    benchmark::DoNotOptimize(list.GetItemCount());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ListAddItemOrNullAppend)->Arg(64)->Arg(1024);

}  // namespace
