#pragma once
// Components: persistent objects with a name, an owner that frees them, and the state
// flags the form reader and writer work with.
//
// A component with an owner is created with `new T(owner)` and freed by its owner's
// destructor, or earlier with `delete`, in which case it leaves its owner's list first.

#include <functional>
#include <vector>

#include "platform/core/TPersistent.h"
#include "platform/core/TSet.h"

namespace bw {

class THandlerTable;

enum TComponentStateFlag : uint8_t {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
};
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation : uint8_t { opInsert, opRemove };

class TComponent : public TPersistent {
  BW_CLASS(TComponent, TPersistent)

 public:
  explicit TComponent(TComponent* AOwner);
  /// Sets csDestroying, leaves the owner's list (the owner and its components are told),
  /// tells the components that asked (FreeNotification), then frees the owned components
  /// last-added first.
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  TPersistent* GetOwner() override { return FOwner; }
  String GetNamePath() override { return FName; }

  /// The name: empty, or a letter or underscore followed by letters, digits and
  /// underscores. Names are unique among the owner's components, ignoring case; a bad
  /// name raises EComponentError and the old one stays.
  const String& Name() const { return FName; }
  void SetName(const String& NewName);
  /// A number for the application's own use; 0 by default.
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t Value) { FTag = Value; }

  int32_t ComponentCount() const { return int32_t(FComponents.size()); }
  /// The owned components in the order they were inserted; a bad index raises EListError.
  TComponent* Components(int32_t Index) const;
  /// The owned component named AName, ignoring case; null when there is none.
  TComponent* FindComponent(const String& AName) const;
  /// The place in the owner's list; -1 without an owner.
  int32_t ComponentIndex() const;
  void SetComponentIndex(int32_t Value);

  /// Takes AComponent into this component's list, taking it from a previous owner first.
  /// Raises EComponentError when its name is taken here, and EInvalidOperation when
  /// AComponent is this component or one of its owners.
  void InsertComponent(TComponent* AComponent);
  /// Takes AComponent out of the list; it then has no owner and must be freed by the
  /// caller. A component that is not in the list is left alone.
  void RemoveComponent(TComponent* AComponent);
  /// Frees every owned component, last-added first; each leaves the list (and the owner
  /// and the rest are told) before the next is touched.
  void DestroyComponents();

  TComponentState ComponentState() const { return FComponentState; }
  /// Sets or clears one state flag; used by the form reader and writer.
  void SetComponentStateFlag(TComponentStateFlag Flag, bool On);
  /// Sets csDestroying here and on every owned component.
  void Destroying();
  /// Sets or clears csDesigning here and on every owned component.
  void SetDesigning(bool Value);

  /// Asks for Notification(this, opRemove) on AComponent when this component is freed,
  /// and the other way round; each hears of it once.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  /// Called once the form reader has set all properties; clears csLoading.
  virtual void Loaded();
  /// Told when AComponent is inserted into or removed from this component's list or, for
  /// opRemove, when a component this one asked about is freed. The default passes the news
  /// on to every owned component, so overrides call it. A component being freed may be
  /// half destroyed by then: compare the pointer, do not call its virtual methods.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  /// Raises EComponentError when NewName cannot replace CurName for AComponent here.
  virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);

  // ---- form files ----
  using TGetChildProc = std::function<void(TComponent* Child)>;
  /// Hands the form writer the components stored inside this one when Root is written.
  /// The default lists, for the root itself, the owned components without a parent
  /// component; components with parents are listed by their parents.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    if (Root != this) return;
    for (int32_t i = 0; i < ComponentCount(); ++i)
      if (!Components(i)->GetParentComponent()) Proc(Components(i));
  }
  /// Whether the form reader should give this component the component it is read
  /// inside as its parent (SetParentComponent); controls say yes.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}
  /// The handlers that events stored in a form file may name; consulted on the root.
  virtual const THandlerTable* HandlerTable() const { return nullptr; }

 private:
  TComponent* FOwner = nullptr;
  String FName;
  int32_t FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

/// True for a name a component may have: a letter or underscore, then letters, digits
/// and underscores (ASCII only).
bool IsValidIdent(const String& Ident);

}  // namespace bw
