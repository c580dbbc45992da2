# Embeds the program's version information in an executable.
#
#   qrl_add_version_block(<target>
#       FILE_DESCRIPTION <text>
#       [FILE_VERSION <a[.b[.c[.d]]]>]     default: PROJECT_VERSION; each part 0..65535
#       [PRODUCT_VERSION <a[.b[.c[.d]]]>]  default: PROJECT_VERSION
#       [FILE_VERSION_TEXT <text>]         string "FileVersion"; default: FILE_VERSION
#       [PRODUCT_VERSION_TEXT <text>]      string "ProductVersion"; default: PRODUCT_VERSION
#       [COMPANY_NAME <text>]              default: Varnel
#       [PRODUCT_NAME <text>]              default: Quorlo
#       [INTERNAL_NAME <text>]             default: <target>
#       [ORIGINAL_FILENAME <text>]         default: the target's file name
#       [LEGAL_COPYRIGHT <text>]           default: Copyright (C) Varnel
#       [LEGAL_TRADEMARKS <text>]
#       [COMMENTS <text>]
#       [LANGUAGE <LANGID>]                default: 0x0409 (English, United States)
#       [FILE_TYPE <number>]               default: 1 (application)
#       [FILE_FLAGS <number>]              default: 0; Debug builds add 1 (debug)
#   )
#
# Generates <target>_version_block.cpp in the current binary folder and adds
# it to the target: the block (laid out by support/version_block.h) goes into
# the ELF section ".qrl_version", where ReadVersionBlock and everything above
# it (GetFileVersionString, TVersionInfo) find it in the file. Empty strings
# are left out of the string table.

include_guard(GLOBAL)

cmake_path(SET _QRL_VERSION_BLOCK_HEADER_DIR NORMALIZE "${CMAKE_CURRENT_LIST_DIR}/../support")

# "a.b.c.d" -> the two 32-bit words of a fixed version, as C++ literals.
function(_qrl_version_words version out_ms out_ls)
  string(REGEX MATCH "^([0-9]+)(\\.([0-9]+))?(\\.([0-9]+))?(\\.([0-9]+))?$" matched "${version}")
  if(NOT matched)
    message(FATAL_ERROR "qrl_add_version_block: '${version}' is not a version a[.b[.c[.d]]]")
  endif()
  set(parts)
  foreach(group 1 3 5 7)
    set(part "${CMAKE_MATCH_${group}}")
    if(part STREQUAL "")
      set(part 0)
    endif()
    if(part GREATER 65535)
      message(FATAL_ERROR "qrl_add_version_block: '${version}': ${part} is above 65535")
    endif()
    list(APPEND parts ${part})
  endforeach()
  list(GET parts 0 a)
  list(GET parts 1 b)
  list(GET parts 2 c)
  list(GET parts 3 d)
  math(EXPR ms "(${a} << 16) | ${b}" OUTPUT_FORMAT HEXADECIMAL)
  math(EXPR ls "(${c} << 16) | ${d}" OUTPUT_FORMAT HEXADECIMAL)
  set(${out_ms} "${ms}u" PARENT_SCOPE)
  set(${out_ls} "${ls}u" PARENT_SCOPE)
endfunction()

function(_qrl_cxx_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

function(qrl_add_version_block target)
  set(one_value FILE_DESCRIPTION FILE_VERSION PRODUCT_VERSION FILE_VERSION_TEXT
      PRODUCT_VERSION_TEXT COMPANY_NAME PRODUCT_NAME INTERNAL_NAME ORIGINAL_FILENAME
      LEGAL_COPYRIGHT LEGAL_TRADEMARKS COMMENTS LANGUAGE FILE_TYPE FILE_FLAGS)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "${one_value}" "")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "qrl_add_version_block: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "qrl_add_version_block: ${target} is not a target")
  endif()

  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  foreach(pair
      "FILE_VERSION;${PROJECT_VERSION}" "PRODUCT_VERSION;${PROJECT_VERSION}"
      "COMPANY_NAME;Varnel" "PRODUCT_NAME;Quorlo" "INTERNAL_NAME;${target}"
      "ORIGINAL_FILENAME;${output_name}${CMAKE_EXECUTABLE_SUFFIX}"
      "LEGAL_COPYRIGHT;Copyright (C) Varnel" "LANGUAGE;0x0409" "FILE_TYPE;1" "FILE_FLAGS;0")
    list(GET pair 0 key)
    list(GET pair 1 default)
    if(NOT DEFINED arg_${key})
      set(arg_${key} "${default}")
    endif()
  endforeach()
  if(NOT DEFINED arg_FILE_VERSION_TEXT)
    set(arg_FILE_VERSION_TEXT "${arg_FILE_VERSION}")
  endif()
  if(NOT DEFINED arg_PRODUCT_VERSION_TEXT)
    set(arg_PRODUCT_VERSION_TEXT "${arg_PRODUCT_VERSION}")
  endif()

  _qrl_version_words("${arg_FILE_VERSION}" file_ms file_ls)
  _qrl_version_words("${arg_PRODUCT_VERSION}" product_ms product_ls)
  set(file_flags "${arg_FILE_FLAGS}")
  if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    math(EXPR file_flags "${file_flags} | 1")
  endif()

  set(strings "")
  foreach(pair
      "Comments;COMMENTS" "CompanyName;COMPANY_NAME" "FileDescription;FILE_DESCRIPTION"
      "FileVersion;FILE_VERSION_TEXT" "InternalName;INTERNAL_NAME"
      "LegalCopyright;LEGAL_COPYRIGHT" "LegalTrademarks;LEGAL_TRADEMARKS"
      "OriginalFilename;ORIGINAL_FILENAME" "ProductName;PRODUCT_NAME"
      "ProductVersion;PRODUCT_VERSION_TEXT")
    list(GET pair 0 name)
    list(GET pair 1 key)
    if(NOT "${arg_${key}}" STREQUAL "")
      _qrl_cxx_string("${arg_${key}}" value)
      string(APPEND strings "    {\"${name}\", ${value}},\n")
    endif()
  endforeach()

  set(source "${CMAKE_CURRENT_BINARY_DIR}/${target}_version_block.cpp")
  file(CONFIGURE OUTPUT "${source}" @ONLY CONTENT [=[
// Generated by cmake/VersionBlock.cmake for @target@: edit the call of
// qrl_add_version_block, not this file.
#include "version_block.h"

namespace {

constexpr TVersionString kStrings[] = {
@strings@};

constexpr TVersionSource kSource{
    {.dwFileVersionMS = @file_ms@,
     .dwFileVersionLS = @file_ls@,
     .dwProductVersionMS = @product_ms@,
     .dwProductVersionLS = @product_ls@,
     .dwFileFlagsMask = kVS_FFI_FILEFLAGSMASK,
     .dwFileFlags = @file_flags@u,
     .dwFileOS = kVOS_UNKNOWN,
     .dwFileType = @arg_FILE_TYPE@u},
    @arg_LANGUAGE@,
    65001,
    kStrings};

constexpr std::size_t kSize = EncodeVersionBlock(kSource, nullptr);

// A section of its own lets readers find the block in the file without
// running it; "used" and "retain" keep it from the compiler and from the
// linker's garbage collection although no code refers to it.
[[gnu::section(".qrl_version"), gnu::used, gnu::retain]] constexpr std::array<std::uint8_t, kSize>
    kVersionBlock = MakeVersionBlock<kSize>(kSource);

}  // namespace
]=])
  target_sources(${target} PRIVATE "${source}")
  target_include_directories(${target} PRIVATE "${_QRL_VERSION_BLOCK_HEADER_DIR}")
endfunction()
