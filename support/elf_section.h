#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The first at most `maxSize` bytes of the first section named `name` in the
/// ELF file named by the byte string `nativePath`; none when the file cannot be
/// opened or is not a regular file (a FIFO is never opened for a blocking read),
/// is not ELF (32- or 64-bit, either byte order), has a damaged header or
/// section table, has no such section, or the section has no bytes in the file
/// (SHT_NOBITS). No size or offset in the file is trusted: only bytes that lie
/// inside the file are ever read.
std::optional<std::vector<std::uint8_t>> ReadElfSection(const std::string& nativePath,
                                                        std::string_view name,
                                                        std::uint64_t maxSize);
