# Localised string tables, one per module.
#
#   stashwell_add_strings(<target>
#       NAME <ClassName>          e.g. CaptureStrings: the generated class, in namespace sw
#       KEYS <keys file>          the key list (format below)
#       TS_DIR <folder>           holds <prefix>_en.ts, <prefix>_ja.ts, <prefix>_ko.ts, <prefix>_zh_CN.ts
#       [PREFIX <prefix>]         default: the target's name without "stashwell_" (e.g. "capture")
#       [MODULE <module>]         the folder the header is included from; default: the name of the
#                                 folder that calls this (e.g. "Capture")
#       [LANGUAGES <lang>...])    default: en ja ko zh_CN
#
# What it does:
#   - compiles each <prefix>_<lang>.ts (Qt Linguist, id-based: <message id="key">) with lrelease
#     -idbased into <prefix>_<lang>.qm and embeds it in <target> at ":/i18n/<prefix>_<lang>.qm";
#   - generates <module>/<ClassName>.h / <ClassName>.cpp (in the build tree, on the target's include
#     path; included with its module like every header: "Capture/CaptureStrings.h")
#     with one static accessor per key: "quality.original" -> sw::CaptureStrings::qualityOriginal();
#     "inspector.fileVideo" with two arguments -> inspectorFileVideo(const QString &, const QString &).
#     Arguments fill %1 ... %k (and the count %n) in ONE pass, so an argument containing "%2" is inserted verbatim;
#     numbers are written as plain digits (no grouping). The class also has table() (the module's
#     sw::StringTable: its own QTranslator), load(const QLocale &) and keys().
#   - A key that has no text in the loaded language shows the key itself.
#   - Every table loads, on its first use, the language for sw::StringTable::locale() (the system
#     locale unless the application calls sw::StringTable::setLocale() first).
#
# The key list: one key per line; "#" starts a comment; after the key, one word per argument,
# in order: "text" (a QString argument) or "number" (a qint64 argument), which fill %1 ... %k in
# turn, and at most one "count" (a qint64 argument named n):
#
#     # key                   arguments
#     quality.original
#     inspector.fileVideo     text text
#     shelf.count             count
#     status.summary          count text text
#
# A counted key is written in every language as Qt numerus forms (<message id="key" numerus="yes">
# with one <numerusform> per plural form of the language: two in English, one in Japanese, Korean
# and Chinese); the count picks the form by the language's rules and fills "%n" with its digits,
# in the same pass as %1 ... %k. Any text that says how many of something there are takes a count,
# so that it reads right at 1 and at every other number.
# The "text" and "number" words give the placeholders every language's text must use (%1 ... %k),
# and "count" the %n of every form. tests/support/StringTableCheck.h checks that each key has its
# text, or each of its forms, in every language with exactly those placeholders: call
# sw::test::stringTableProblems(<ClassName>::table()) in the module's tests and expect no problems.
#
# Accessor names: the key's parts (split at ".", "_" and "-") joined in camelCase; two keys that
# give one name, or a name that is not an identifier, stop the build with an error.

set(_STASHWELL_STRINGS_GENERATOR ${CMAKE_CURRENT_LIST_DIR}/StashwellStringsGenerate.cmake)

function(stashwell_add_strings target)
  cmake_parse_arguments(S "" "NAME;KEYS;TS_DIR;PREFIX;MODULE" "LANGUAGES" ${ARGN})
  if(NOT S_NAME OR NOT S_KEYS OR NOT S_TS_DIR)
    message(FATAL_ERROR "stashwell_add_strings(${target}): NAME, KEYS and TS_DIR are required")
  endif()
  if(NOT S_PREFIX)
    string(REGEX REPLACE "^stashwell_" "" S_PREFIX "${target}")
  endif()
  if(NOT S_LANGUAGES)
    set(S_LANGUAGES en ja ko zh_CN)
  endif()
  get_filename_component(keys "${S_KEYS}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  get_filename_component(tsdir "${S_TS_DIR}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})

  # The accessors.
  # Included with its module, like every other header: "Capture/CaptureStrings.h". A table whose
  # CMake list sits in a subfolder of its module names the module.
  if(S_MODULE)
    set(module ${S_MODULE})
  else()
    get_filename_component(module "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  endif()
  set(outdir ${CMAKE_CURRENT_BINARY_DIR}/strings_${S_NAME})
  set(header ${outdir}/${module}/${S_NAME}.h)
  set(source ${outdir}/${S_NAME}.cpp)
  add_custom_command(
    OUTPUT ${header} ${source}
    COMMAND ${CMAKE_COMMAND}
            -DKEYS_FILE=${keys} -DCLASS_NAME=${S_NAME} -DRESOURCE_PREFIX=:/i18n/${S_PREFIX}
            -DOUT_HEADER=${header} -DOUT_SOURCE=${source} -DHEADER_INCLUDE=${module}/${S_NAME}.h
            -P ${_STASHWELL_STRINGS_GENERATOR}
    DEPENDS ${keys} ${_STASHWELL_STRINGS_GENERATOR}
    COMMENT "Generating ${S_NAME} from ${S_KEYS}"
    VERBATIM)
  # Configure-time run as well, so the header exists for tools that read sources before building.
  if(NOT EXISTS ${header})
    execute_process(COMMAND ${CMAKE_COMMAND}
            -DKEYS_FILE=${keys} -DCLASS_NAME=${S_NAME} -DRESOURCE_PREFIX=:/i18n/${S_PREFIX}
            -DOUT_HEADER=${header} -DOUT_SOURCE=${source} -DHEADER_INCLUDE=${module}/${S_NAME}.h
            -P ${_STASHWELL_STRINGS_GENERATOR}
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "stashwell_add_strings(${target}): cannot generate ${S_NAME} from ${keys}")
    endif()
  endif()
  target_sources(${target} PRIVATE ${header} ${source})
  target_include_directories(${target} PUBLIC ${outdir})
  set_source_files_properties(${header} ${source} PROPERTIES SKIP_AUTOGEN ON)

  # The translations.
  set(qmdir ${CMAKE_CURRENT_BINARY_DIR}/i18n_${S_NAME})
  set(qms)
  foreach(lang IN LISTS S_LANGUAGES)
    set(ts ${tsdir}/${S_PREFIX}_${lang}.ts)
    if(NOT EXISTS ${ts})
      message(FATAL_ERROR "stashwell_add_strings(${target}): missing ${ts}")
    endif()
    set(qm ${qmdir}/${S_PREFIX}_${lang}.qm)
    add_custom_command(
      OUTPUT ${qm}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${qmdir}
      COMMAND Qt6::lrelease -idbased -nounfinished -silent ${ts} -qm ${qm}
      DEPENDS ${ts} Qt6::lrelease
      COMMENT "Compiling ${S_PREFIX}_${lang}.ts"
      VERBATIM)
    list(APPEND qms ${qm})
  endforeach()
  set_source_files_properties(${qms} PROPERTIES GENERATED TRUE)
  qt_add_resources(${target} "${S_PREFIX}_strings"
    PREFIX "/i18n"
    BASE ${qmdir}
    FILES ${qms})
endfunction()
