#include "platform/core/TComponent.h"

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"
#include "platform/core/TPropertyTable.h"

namespace bw {

// The name is stored in a component's header, not as a property.
BW_PUBLISHED(TComponent) {
  P.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}
char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool SameName(const String& a, const String& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiUpper(x) == AsciiUpper(y);
         });
}

void Erase(std::vector<TComponent*>& list, TComponent* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it != list.end()) list.erase(it);
}

}  // namespace

bool IsValidIdent(const String& Ident) {
  if (Ident.empty() || !(IsAsciiLetter(Ident[0]) || Ident[0] == '_')) return false;
  return std::all_of(Ident.begin() + 1, Ident.end(),
                     [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_'; });
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Leaving the owner first tells the owner and every sibling, and means nothing reaches
  // this half-destroyed component through the owner's list.
  TComponent* owner = FOwner;
  if (owner) owner->RemoveComponent(this);
  // Taking each entry off before the call keeps the loop finite whatever an override does.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    Erase(other->FFreeNotifies, this);
    // A sibling heard of it from the owner already.
    if (!owner || other->FOwner != owner) other->Notification(this, opRemove);
  }
  DestroyComponents();
}

void TComponent::DestroyComponents() {
  // Each component takes itself out of the list, with notification, before it frees its
  // own components.
  while (!FComponents.empty())
    delete FComponents.back();
}

void TComponent::SetName(const String& NewName) {
  if (NewName == FName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(Format(SInvalidName, {NewName}));
  if (FOwner)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName,
                                const String& NewName) {
  if (AComponent && !SameName(CurName, NewName)) {
    TComponent* existing = FindComponent(NewName);
    if (existing && existing != AComponent)
      throw EComponentError(Format(SDuplicateName, {NewName}));
  }
  if (FComponentState.Contains(csDesigning) && FOwner)
    FOwner->ValidateRename(AComponent, CurName, NewName);
}

TComponent* TComponent::Components(int32_t Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError(Format("%s (%s)", {SListIndexError, std::to_string(Index)}));
  return FComponents[size_t(Index)];
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameName(c->FName, AName)) return c;
  return nullptr;
}

int32_t TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  return int32_t(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::SetComponentIndex(int32_t Value) {
  if (!FOwner) return;
  auto& list = FOwner->FComponents;
  int32_t current = ComponentIndex();
  Value = std::clamp(Value, 0, int32_t(list.size()) - 1);
  if (Value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner == this) return;
  // Owning oneself or one's own owner would free a component twice.
  for (TComponent* c = this; c; c = c->FOwner)
    if (c == AComponent)
      throw EInvalidOperation(Format(
          SOwnerCycle, {AComponent->FName.empty() ? AComponent->ClassName() : AComponent->FName}));
  ValidateRename(AComponent, String(), AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Erase(FComponents, AComponent);
  AComponent->FOwner = nullptr;
}

void TComponent::SetComponentStateFlag(TComponentStateFlag Flag, bool On) {
  if (On)
    FComponentState.Include(Flag);
  else
    FComponentState.Exclude(Flag);
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents)
    c->Destroying();
}

void TComponent::SetDesigning(bool Value) {
  SetComponentStateFlag(csDesigning, Value);
  for (TComponent* c : FComponents)
    c->SetDesigning(Value);
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) != FFreeNotifies.end())
    return;
  // Kept even between siblings: they may not stay siblings.
  FFreeNotifies.push_back(AComponent);
  AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  Erase(FFreeNotifies, AComponent);
  Erase(AComponent->FFreeNotifies, this);
}

void TComponent::Loaded() {
  FComponentState.Exclude(csLoading);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) RemoveFreeNotification(AComponent);
  // Checked against the live count: a component told here may free others.
  for (size_t i = 0; i < FComponents.size(); ++i)
    FComponents[i]->Notification(AComponent, Operation);
}

}  // namespace bw
