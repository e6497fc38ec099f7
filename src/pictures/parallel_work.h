// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work spread over the machine's cores: the calling thread takes part, and
// one more thread for every further core (at most three more). Pictures are
// decoded this way so that a game start waits for half the decoding.
#include <functional>

// Runs work(0) .. work(count - 1), each once, in no particular order, and
// returns when all are done. work must not throw and must only touch what
// belongs to its own index (or is read-only).
void runOnAllCores(int count, const std::function<void(int)>& work);

// How many threads runOnAllCores uses at most, the caller included.
int workerCount();
// At most most threads from now on (0: as many as the machine offers). A
// fuzz target's repeatable runs work on the calling thread alone, so that
// the order in which threads take work reaches no code path.
void limitWorkers(int most);
