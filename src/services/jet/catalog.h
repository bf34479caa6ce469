// The system catalog (MSysObjects, whose definition is always on page 2): every object's name,
// kind and, for tables, the page of its definition.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "services/jet/pager.h"

namespace lumora::jet {

inline constexpr std::uint32_t kCatalogDefinitionPage = 2;
inline constexpr std::int16_t kObjectTable = 1;
inline constexpr std::uint32_t kSystemObjectFlags = 0x80000002;

struct CatalogEntry {
  std::u16string name;
  std::int16_t type = 0;
  std::int32_t id = 0;
  std::int32_t parent_id = 0;
  std::uint32_t flags = 0;

  bool IsTable() const { return (type & 0x7F) == kObjectTable; }
  bool IsSystem() const { return (flags & kSystemObjectFlags) != 0; }
  // For tables: the page of the table definition.
  std::uint32_t DefinitionPage() const { return static_cast<std::uint32_t>(id) & 0x00FFFFFF; }
};

// Every catalog row in storage order; empty when the catalog cannot be read.
std::optional<std::vector<CatalogEntry>> ReadCatalog(const std::shared_ptr<const Pager>& pager);

}  // namespace lumora::jet
