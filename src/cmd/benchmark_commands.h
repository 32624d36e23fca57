#pragma once

#include "cmd/context.h"

// The "Benchmark" menu: how the throughput of a test program that lies next to the running
// program scales with the number of copies run at once. Each command logs its rounds and writes
// the rates to a data file in the current folder ("runa9.dat", "runa9pgo.dat", "runb10.dat").
// A round that fails logs why, writes no data file and throws Error with the same text.
//
// They use the log, the process_events hook and the test program folder of the context and
// nothing of the model, so a shell may run them on a worker thread whose log and hook are safe
// to call there.
namespace dlslab::cmd {

/// "DLS of order 9 generation...": runa9, thousands of order-9 DLS per second.
void GenerateDls9MenuItemClick(Context& ctx);
/// "DLS of order 9 generation with PGO...": runa9pgo, thousands of order-9 DLS per second.
void GenerateDls9PgoMenuItemClick(Context& ctx);
/// "ODLS of order 10 search (DLX v2)...": runb10, order-10 DLS searched for mates per second.
void ODLS10DLXGenClick(Context& ctx);

}  // namespace dlslab::cmd
