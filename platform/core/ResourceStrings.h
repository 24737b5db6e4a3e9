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
inline constexpr const char* SInvalidName = "'%s' is not a valid component name";
inline constexpr const char* SDuplicateName = "A component named %s already exists";
inline constexpr const char* SOwnerCycle = "Component %s cannot own itself or one of its owners";
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
inline constexpr const char* SFOpenError = "Cannot open file \"%s\": %s";
inline constexpr const char* SFCreateError = "Cannot create file \"%s\": %s";
inline constexpr const char* SFWriteError = "Cannot write file \"%s\": %s";
inline constexpr const char* SFSeekError = "Cannot move within file \"%s\": %s";
inline constexpr const char* SSeekError = "Cannot move before the start of the stream";
inline constexpr const char* SStreamSizeError = "A %s cannot change its size";
inline constexpr const char* SMemoryStreamError = "Out of memory while expanding memory stream";
inline constexpr const char* SNoSourceStream = "No stream to read from";
inline constexpr const char* SNoTargetStream = "No stream to write to";

}  // namespace bw
