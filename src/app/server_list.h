// Filling the main window's server list: rows from table Server, their locations, and a
// reachability pass over them.
#pragma once

namespace lumora::app {

// Rebuilds the whole list from the catalogue, computes the locations and starts a reachability
// pass. Results of passes over the old rows are dropped.
void FillServerList();

}  // namespace lumora::app
