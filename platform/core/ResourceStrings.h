#pragma once
// Message texts of the platform. Code raises errors with these, so that tests and
// callers can compare a message with the text it was made from.

namespace bw {

inline constexpr const char* SListIndexError = "List index out of bounds";
inline constexpr const char* SListCapacityError = "List capacity out of bounds";
inline constexpr const char* SListCountError = "List count out of bounds";
inline constexpr const char* SPutObjectError = "Cannot store the object of a list entry";
inline constexpr const char* SSortedListError = "Operation not allowed on a sorted string list";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
inline constexpr const char* SAbstractError = "Abstract method called";
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SInvalidName = "''%s'' is not a valid component name";
inline constexpr const char* SDuplicateName = "A component named %s already exists";
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SFOpenError = "Cannot open file \"%s\": %s";
inline constexpr const char* SFCreateError = "Cannot create file \"%s\": %s";

}  // namespace bw
