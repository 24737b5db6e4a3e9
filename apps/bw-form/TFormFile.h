#pragma once
// A form file as the form tool handles it: read whole, told apart by its contents (text
// or binary), converted between the two without creating any component, and turned into
// a form that can be shown although the program that wrote it is not here.

#include "platform/core/FormStreaming.h"
#include "platform/core/Types.h"

namespace bw {

class TCustomForm;

class TFormFile {
 public:
  /// Reads FileName whole; EFormFileError when it holds no form in either form.
  explicit TFormFile(const String& FileName);

  TStreamOriginalFormat Format() const { return FFormat; }
  /// The form in binary and in text; each checked by the conversion that produces it.
  String Binary() const;
  String Text() const;

  /// A new form built from the file, owned by Owner. The program that wrote the file is
  /// not here, so its event handlers are left unassigned and a root class of its own
  /// (TForm1) is shown as a TForm; classes of components that nobody registered are
  /// still an error. EFormFileError when the root is not a form.
  TCustomForm* CreateForm(TComponent* Owner) const;

 private:
  String FFileName;
  String FData;
  TStreamOriginalFormat FFormat;
};

}  // namespace bw
