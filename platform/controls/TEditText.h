#pragma once
// The text of a one-line edit: code points with a caret and an anchor, the rules that
// typed and pasted text obey (first line only, MaxLength, CharCase) and one step of
// undo. Positions count code points, so a caret can never sit inside a character.
// The edit controls own one and add painting, keys and the mouse on top.

#include <string>

#include "platform/core/Types.h"

namespace bw {

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TEditText {
 public:
  /// The text as UTF-8.
  const String& Text() const { return FText; }
  /// The text as code points.
  const std::u32string& Chars() const { return FChars; }
  int32_t Length() const { return static_cast<int32_t>(FChars.size()); }

  /// Replaces the whole text (converted to CharCase; malformed UTF-8 becomes U+FFFD and
  /// the text ends at a zero character), puts the caret at the start and forgets undo.
  /// MaxLength does not cut text set this way, only what the user enters.
  void SetText(const String& value);
  /// Replaces the code points and selection as one undoable change.
  void SetChars(const std::u32string& chars, int32_t selStart, int32_t selLength);

  /// The caret (the moving end of the selection) and the anchor (the fixed end).
  int32_t Caret() const { return FCaret; }
  int32_t Anchor() const { return FAnchor; }
  int32_t SelStart() const { return FCaret < FAnchor ? FCaret : FAnchor; }
  int32_t SelLength() const { return FCaret < FAnchor ? FAnchor - FCaret : FCaret - FAnchor; }
  String SelText() const;
  /// Collapses the selection to a caret at value (clamped to the text).
  void SetSelStart(int32_t value);
  /// Selects value characters from SelStart (clamped to the text).
  void SetSelLength(int32_t value);
  /// Selects from anchor to caret, both clamped.
  void Select(int32_t anchor, int32_t caret);
  void SelectAll() { Select(0, Length()); }
  /// Moves the caret to pos; with extend the anchor stays, otherwise it follows.
  void MoveCaret(int32_t pos, bool extend);

  /// Maximum number of characters the user can enter; 0 means no limit.
  int32_t MaxLength() const { return FMaxLength; }
  void SetMaxLength(int32_t value) { FMaxLength = value < 0 ? 0 : value; }
  /// Case that entered and set text is converted to; changing it converts the text.
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase value);

  /// Replaces the selection with text as the user enters it: only its first line, without
  /// control characters, in CharCase, cut to what MaxLength leaves room for. The caret
  /// ends after the inserted text. False when nothing changed.
  bool ReplaceSelection(const String& text);
  /// Types one character; a control character or one over MaxLength is refused.
  bool TypeChar(Char c);
  /// Backspace: removes the selection, else the character (or with word the rest of the
  /// word) before the caret.
  bool DeleteLeft(bool word = false);
  /// Delete: removes the selection, else the character (or word) after the caret.
  bool DeleteRight(bool word = false);
  bool DeleteSelection();

  /// Word movement: the start of the word before pos, and the start of the next word.
  int32_t WordLeft(int32_t pos) const;
  int32_t WordRight(int32_t pos) const;
  /// Selects the run of word characters, spaces or punctuation holding the character
  /// at pos (the last character when pos is at the end).
  void SelectWordAt(int32_t pos);

  /// Undo swaps the text with the one before the last change, so a second undo redoes.
  /// Runs of typed characters undo as one change.
  bool CanUndo() const { return FHasUndo; }
  bool Undo();
  void ClearUndo();

 private:
  std::u32string FChars;
  String FText;
  int32_t FCaret = 0;
  int32_t FAnchor = 0;
  int32_t FMaxLength = 0;
  TEditCharCase FCharCase = ecNormal;

  std::u32string FUndoChars;
  int32_t FUndoCaret = 0;
  int32_t FUndoAnchor = 0;
  bool FHasUndo = false;
  bool FTyping = false;  // the last change was typing that the next character extends

  int32_t Clamp(int32_t pos) const;
  Char Cased(Char c) const;
  void RememberForUndo();
  void Replace(int32_t start, int32_t count, const std::u32string& with);
};

}  // namespace bw
