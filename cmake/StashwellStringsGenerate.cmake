# Generates the accessor class of one string table; run by stashwell_add_strings() with
#   cmake -DKEYS_FILE=... -DCLASS_NAME=... -DRESOURCE_PREFIX=... -DOUT_HEADER=... -DOUT_SOURCE=... -DHEADER_INCLUDE=... -P <this file>

cmake_minimum_required(VERSION 3.25)

foreach(var KEYS_FILE CLASS_NAME RESOURCE_PREFIX OUT_HEADER OUT_SOURCE HEADER_INCLUDE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "StashwellStringsGenerate: ${var} is not set")
  endif()
endforeach()

set(keywords alignas alignof and and_eq asm auto bitand bitor bool break case catch char char8_t
    char16_t char32_t class compl concept const consteval constexpr constinit const_cast continue
    co_await co_return co_yield decltype default delete do double dynamic_cast else enum explicit
    export extern false float for friend goto if inline int long mutable namespace new noexcept not
    not_eq nullptr operator or or_eq private protected public register reinterpret_cast requires
    return short signed sizeof static static_assert static_cast struct switch template this
    thread_local throw true try typedef typeid typename union unsigned using virtual void volatile
    wchar_t while xor xor_eq table load keys)

file(STRINGS ${KEYS_FILE} lines ENCODING UTF-8)
set(decls "")
set(defs "")
set(entries "")
set(names "")
set(seen_keys "")
set(line_number 0)
foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  string(REGEX REPLACE "#.*$" "" line "${line}")
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    continue()
  endif()
  string(REGEX REPLACE "[ \t]+" ";" words "${line}")
  list(POP_FRONT words key)
  if(NOT key MATCHES "^[A-Za-z][A-Za-z0-9._-]*$")
    message(FATAL_ERROR "${KEYS_FILE}:${line_number}: \"${key}\" is not a key")
  endif()
  if(key IN_LIST seen_keys)
    message(FATAL_ERROR "${KEYS_FILE}:${line_number}: the key \"${key}\" is listed twice")
  endif()
  list(APPEND seen_keys ${key})

  # camelCase accessor name
  string(REGEX REPLACE "[._-]+" ";" parts "${key}")
  set(name "")
  foreach(part IN LISTS parts)
    if(name STREQUAL "")
      string(SUBSTRING "${part}" 0 1 first)
      string(SUBSTRING "${part}" 1 -1 rest)
      string(TOLOWER "${first}" first)
      set(name "${first}${rest}")
    else()
      string(SUBSTRING "${part}" 0 1 first)
      string(SUBSTRING "${part}" 1 -1 rest)
      string(TOUPPER "${first}" first)
      string(APPEND name "${first}${rest}")
    endif()
  endforeach()
  if(name IN_LIST keywords)
    message(FATAL_ERROR "${KEYS_FILE}:${line_number}: the key \"${key}\" gives the reserved name \"${name}\"")
  endif()
  if(name IN_LIST names)
    message(FATAL_ERROR "${KEYS_FILE}:${line_number}: the key \"${key}\" gives the accessor name \"${name}\" of another key")
  endif()
  list(APPEND names ${name})

  # The parameters keep the order of the words; "count" is %n, the others are %1 ... %k in order.
  set(params "")
  set(args "")
  set(index 0)
  set(counted FALSE)
  foreach(word IN LISTS words)
    if(NOT params STREQUAL "")
      string(APPEND params ", ")
    endif()
    if(word STREQUAL "count")
      if(counted)
        message(FATAL_ERROR "${KEYS_FILE}:${line_number}: the key \"${key}\" takes more than one count")
      endif()
      set(counted TRUE)
      string(APPEND params "qint64 n")
      continue()
    endif()
    math(EXPR index "${index} + 1")
    if(NOT args STREQUAL "")
      string(APPEND args ", ")
    endif()
    if(word STREQUAL "text")
      string(APPEND params "const QString &a${index}")
      string(APPEND args "a${index}")
    elseif(word STREQUAL "number")
      string(APPEND params "qint64 a${index}")
      string(APPEND args "QString::number(a${index})")
    else()
      message(FATAL_ERROR "${KEYS_FILE}:${line_number}: argument type \"${word}\" is neither \"text\", \"number\" nor \"count\"")
    endif()
  endforeach()

  string(APPEND decls "    // \"${key}\"\n    static QString ${name}(${params});\n")
  if(counted)
    string(APPEND defs "QString ${CLASS_NAME}::${name}(${params})\n{\n    return table().text(\"${key}\", n, {${args}});\n}\n\n")
    string(APPEND entries "    {\"${key}\", ${index}, true},\n")
  elseif(index EQUAL 0)
    string(APPEND defs "QString ${CLASS_NAME}::${name}()\n{\n    return table().text(\"${key}\");\n}\n\n")
    string(APPEND entries "    {\"${key}\", 0},\n")
  else()
    string(APPEND defs "QString ${CLASS_NAME}::${name}(${params})\n{\n    return table().text(\"${key}\", {${args}});\n}\n\n")
    string(APPEND entries "    {\"${key}\", ${index}},\n")
  endif()
endforeach()

if(entries STREQUAL "")
  message(FATAL_ERROR "${KEYS_FILE}: no keys")
endif()

set(header "// Generated from ${KEYS_FILE} by StashwellStringsGenerate.cmake; do not edit.
#pragma once

#include \"Capture/StringTable.h\"

#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <span>

namespace sw {

class ${CLASS_NAME} {
public:
    // The module's table, with its own translator.
    static StringTable &table();
    // Loads the language that suits `locale`; false when its translations are missing.
    static bool load(const QLocale &locale) { return table().load(locale); }
    // Every key with its number of placeholders.
    static std::span<const StringKey> keys();

${decls}};

}  // namespace sw
")

set(source "// Generated from ${KEYS_FILE} by StashwellStringsGenerate.cmake; do not edit.
#include \"${HEADER_INCLUDE}\"

namespace sw {

namespace {
const StringKey kKeys[] = {
${entries}};
}  // namespace

StringTable &${CLASS_NAME}::table()
{
    static StringTable instance(QStringLiteral(\"${RESOURCE_PREFIX}\"), kKeys);
    return instance;
}

std::span<const StringKey> ${CLASS_NAME}::keys()
{
    return kKeys;
}

${defs}}  // namespace sw
")

# Rewrite only on change, so that a touched key file does not rebuild every user of the header.
foreach(pair "OUT_HEADER;header" "OUT_SOURCE;source")
  list(GET pair 0 path_var)
  list(GET pair 1 text_var)
  set(path ${${path_var}})
  set(old "")
  if(EXISTS ${path})
    file(READ ${path} old)
  endif()
  if(NOT old STREQUAL "${${text_var}}")
    file(WRITE ${path} "${${text_var}}")
  endif()
endforeach()
