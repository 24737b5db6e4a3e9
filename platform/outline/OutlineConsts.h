#pragma once
// Message texts of the outline.

namespace bw {

inline constexpr const char* SOutlineIndexError = "Outline index %s is out of range (1 to %s)";
inline constexpr const char* SOutlinePictureIndex =
    "Outline picture index %s is out of range (0 to 4)";
inline constexpr const char* SOutlineFirstLineIndented =
    "Line 1 of %s starts with a tab: the first line must be a top-level item";
inline constexpr const char* SOutlineLineTooDeep =
    "Line %s of %s is indented %s tabs, more than one tab deeper than the line before it";
inline constexpr const char* SOutlineLevelError =
    "A line inserted at index %s must be indented %s to %s tabs, not %s";
inline constexpr const char* SOutlineTooManyItems =
    "%s holds more lines than an outline can hold items";
inline constexpr const char* SOutlineMoveBranch =
    "Line %s cannot be moved on its own: the lines below it belong to it";
inline constexpr const char* SOutlineNoStream = "No stream given to load or save the outline";
inline constexpr const char* SOutlineReadError = "Cannot read the outline from %s: %s";
inline constexpr const char* SOutlineZeroCharacter =
    "Cannot read the outline from %s: it holds a zero character (at byte %s), so it is not "
    "outline text";
inline constexpr const char* SOutlineSourceTooLong =
    "Cannot read the outline from %s: it does not tell its size and goes on past %s MB";
inline constexpr const char* SOutlineStoredLineBreak =
    "Line %s of the stored lines holds a line break or a zero character, which no outline "
    "line can hold";
inline constexpr const char* SOutlineUnsavableText =
    "Item %s cannot be stored as a line: its text starts with a tab or holds a line break or "
    "a zero character";

}  // namespace bw
