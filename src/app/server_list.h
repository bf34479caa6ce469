// Filling the main window's server list: rows from table Server, their locations, and a
// reachability pass over them.
#pragma once

namespace lumora::app {

// Rebuilds the whole list from the catalogue, computes the locations and starts a reachability
// pass. Results of passes over the old rows are dropped.
void FillServerList();

// Shows the list ordered by `cell`; asked again for the same cell, the other way round. Port and
// delay go by their numbers. The order is the view's only: the catalogue keeps its own, and every
// command finds its server by the row's record number. A refill keeps the order.
void SortServerListBy(int cell);

// Back to the catalogue's own order, as a new main window starts.
void ResetServerListOrder();

}  // namespace lumora::app
