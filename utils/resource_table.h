#pragma once
// The table of compiled-in resources: byte blocks that the program carries inside itself
// (templates, texts, pictures), found by name and type. Each resource registers once, at
// start-up, with bytes of static lifetime; lookups then hand out views of those bytes.
//
// Names and types compare without regard to ASCII case, as resource names always have.
// The table is safe to use from several threads.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kvt {

// Adds the resource, or replaces the bytes of one already registered under the same name and
// type. `data` must stay valid for the rest of the program (static storage); the name and
// type are copied. Precondition: data is not null when size > 0.
void RegisterResource(std::string_view name, std::string_view type, const void* data,
                      size_t size);

// The bytes of the resource `name` of `type`; empty when there is none.
std::span<const uint8_t> FindResourceData(std::string_view name, std::string_view type);

}  // namespace kvt
