#pragma once
// The items of an outline seen as a list of strings: line i is item i+1 in the text form,
// its text after one tab per level below the top, with the item's Data as its object.

#include "platform/core/TStrings.h"

namespace bw {

class TCustomOutline;

class TOutlineStrings : public TStrings {
  BW_CLASS(TOutlineStrings, TStrings)

 public:
  explicit TOutlineStrings(TCustomOutline* AOutline) : FOutline(AOutline) {}

  TCustomOutline* Outline() const { return FOutline; }

  String Get(int32_t Index) const override;
  int32_t GetCount() const override;
  /// Sets the item's text to S without its leading tabs; the item keeps its level.
  void Put(int32_t Index, const String& S) override;
  TObject* GetObject(int32_t Index) const override;
  void PutObject(int32_t Index, TObject* AObject) override;
  /// Inserts an item at the level S's leading tabs give. The level must fit between its
  /// neighbours (EOutlineError otherwise): at most one deeper than the line before, at
  /// most one shallower than the line after. Following lines that are deeper become its
  /// descendants.
  void Insert(int32_t Index, const String& S) override;
  /// Deletes the item together with its descendants, as the text form needs.
  void Delete(int32_t Index) override;
  void Clear() override;
  /// Moves a line that has no lines below it (a leaf) so that it ends at NewIndex, keeping
  /// its level. Moving a line with lines below it, or to a place where its level does not
  /// fit, raises EOutlineError and changes nothing. The moved item gets a new node handle.
  void Move(int32_t CurIndex, int32_t NewIndex) override;
  /// Replaces the items with Source's lines (and their objects) all or nothing:
  /// a badly indented line raises EOutlineError naming it and nothing changes. Anything
  /// but a string list goes to the inherited Assign.
  void Assign(TPersistent* Source) override;
  /// Replaces the items with the text form in Value, all or nothing.
  void SetTextStr(const String& Value) override;
  /// Reads as the outline's own LoadFromStream does: all or nothing, and a source holding
  /// a zero character, or one of unknown size that goes on past 64 MB, is refused.
  void LoadFromStream(TStream* Stream) override;
  /// Lines' update brackets are the outline's.
  void SetUpdateState(bool Updating) override;
  /// Stores the lines as a string list "Strings", as every string list does. Reading
  /// replaces the items all or nothing; writing raises EOutlineError for an item whose
  /// text would read back as something else (a leading tab or a line break).
  void DefineProperties(TFiler* Filer) override;

 private:
  TCustomOutline* FOutline;

  void CheckLine(int32_t Index, int32_t count) const;
};

}  // namespace bw
