#pragma once
// Storing a component tree in a stream and reading it back, in either form.
//
//   SaveComponentToStream(&file, Form1, sofText);
//   auto* form = LoadComponentFromStream(&file);           // a new TForm1
//   LoadComponentFromStream(&file, existingForm);          // into an existing root
//   SaveComponentToFile("main.dfm", Form1, sofText);       // replaced whole or not at all
//   auto* copy = LoadComponentFromFile("main.dfm");

#include "platform/core/Types.h"

namespace bw {

class TStream;
class TComponent;

enum TStreamOriginalFormat : uint8_t { sofUnknown, sofBinary, sofText };

/// The form of the stream's contents from its position on; the position is kept.
TStreamOriginalFormat TestStreamFormat(TStream* Stream);

/// Writes Root, its properties and its children at Stream's position. Both forms are
/// produced in memory first, so a failure writes nothing.
void SaveComponentToStream(TStream* Stream, TComponent* Root,
                           TStreamOriginalFormat Format = sofBinary);
/// Reads a form in either form from Stream's position. Root as for TReader's
/// ReadRootComponent; a new root is owned by Owner. Errors in a text form carry the
/// line and column of the component or property where they arose (EParserError for
/// EReadError, the position added to the message for other errors).
TComponent* LoadComponentFromStream(TStream* Stream, TComponent* Root = nullptr,
                                    TComponent* Owner = nullptr);

/// Writes Root to FileName through SaveFileAtomically: the form is produced in memory,
/// then replaces the file whole, so a component that cannot be stored, a full disk or a
/// refused file leaves the old file as it was (EFCreateError, EWriteError).
void SaveComponentToFile(const String& FileName, TComponent* Root,
                         TStreamOriginalFormat Format = sofBinary);
/// Reads a form in either form from FileName, as LoadComponentFromStream. The file is
/// read whole before any component is touched, so a file that is missing or cannot be
/// read (EFOpenError, EReadError) changes nothing. A new root is all or nothing: a
/// failure frees whatever was created. Into an existing Root, a failure frees the
/// components the read created, but properties it had already set keep their new values.
TComponent* LoadComponentFromFile(const String& FileName, TComponent* Root = nullptr,
                                  TComponent* Owner = nullptr);

String ComponentToText(TComponent* Root);
String ComponentToBinary(TComponent* Root);
/// Reads text or binary data, whichever Data holds.
TComponent* ComponentFromString(const String& Data, TComponent* Root = nullptr,
                                TComponent* Owner = nullptr);

}  // namespace bw
