#include "platform/core/TComponent.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/core/Exception.h"

namespace bw {
namespace {

using ::testing::ElementsAre;

// Records what it hears and, when freed, what its owner looked like at that moment.
class TProbe : public TComponent {
  BW_CLASS(TProbe, TComponent)

 public:
  struct TEvent {
    TComponent* Component;
    TOperation Operation;
    bool operator==(const TEvent&) const = default;
  };

  TProbe(TComponent* AOwner, const String& AName, std::vector<String>* log = nullptr)
      : TComponent(AOwner), FLog(log) {
    SetName(AName);
  }
  ~TProbe() override {
    if (FLog) {
      String entry = Name();
      if (Owner())
        entry += ":" + std::to_string(Owner()->ComponentCount()) +
                 (Owner()->ComponentState().Contains(csDestroying) ? "d" : "");
      if (Watched) entry += " still watching";
      FLog->push_back(entry);
    }
    // Touches the watched component; a stale pointer shows up under the sanitizers.
    if (Watched) Watched->Name();
  }

  void Notification(TComponent* AComponent, TOperation Operation) override {
    Events.push_back({AComponent, Operation});
    if (Operation == opRemove && AComponent == Watched) Watched = nullptr;
    TComponent::Notification(AComponent, Operation);
  }

  std::vector<TEvent> Events;
  TComponent* Watched = nullptr;

 private:
  std::vector<String>* FLog;
};

TEST(TComponentTest, OwnerFreesComponentsLastAddedFirstEachOutOfTheListFirst) {
  std::vector<String> log;
  auto* owner = new TProbe(nullptr, "Owner", &log);
  new TProbe(owner, "A", &log);
  auto* b = new TProbe(owner, "B", &log);
  new TProbe(b, "B1", &log);
  new TProbe(owner, "C", &log);
  EXPECT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(b->Owner(), owner);

  delete owner;
  // Each component still sees itself in the owner's list, never one freed before it.
  EXPECT_THAT(log, ElementsAre("Owner", "C:3d", "B:2d", "B1:1d", "A:1d"));
}

TEST(TComponentTest, ComponentFreedFirstLeavesItsOwner) {
  TProbe owner(nullptr, "Owner");
  auto* a = new TProbe(&owner, "A");
  auto* b = new TProbe(&owner, "B");
  delete a;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(owner.FindComponent("A"), nullptr);
  EXPECT_THROW(owner.Components(1), EListError);
  EXPECT_THROW(owner.Components(-1), EListError);
}

TEST(TComponentTest, OwnerAndSiblingsHearOfInsertAndRemove) {
  TProbe owner(nullptr, "Owner");
  auto* watcher = new TProbe(&owner, "Watcher");
  owner.Events.clear();

  auto* item = new TComponent(&owner);
  EXPECT_THAT(owner.Events, ElementsAre(TProbe::TEvent{item, opInsert}));
  EXPECT_THAT(watcher->Events, ElementsAre(TProbe::TEvent{item, opInsert}));

  owner.Events.clear();
  watcher->Events.clear();
  owner.RemoveComponent(item);
  EXPECT_EQ(item->Owner(), nullptr);
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_THAT(owner.Events, ElementsAre(TProbe::TEvent{item, opRemove}));
  EXPECT_THAT(watcher->Events, ElementsAre(TProbe::TEvent{item, opRemove}));
  delete item;  // removed components belong to the caller
  EXPECT_EQ(watcher->Events.size(), 1u);

  // Removing what is not ours changes nothing.
  TComponent stranger(nullptr);
  owner.RemoveComponent(&stranger);
  EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(TComponentTest, SiblingFreedDuringOwnerDestructionIsReported) {
  std::vector<String> log;
  auto* owner = new TComponent(nullptr);
  auto* watcher = new TProbe(owner, "Watcher", &log);
  watcher->Watched = new TProbe(owner, "Target");  // freed first: added last
  delete owner;
  EXPECT_THAT(log, ElementsAre("Watcher:1d"));
}

TEST(TComponentTest, FreeNotificationAcrossOwners) {
  TComponent formA(nullptr), formB(nullptr);
  auto* watcher = new TProbe(&formA, "Watcher");
  auto* target = new TProbe(&formB, "Target");
  watcher->Watched = target;
  watcher->FreeNotification(target);
  watcher->FreeNotification(target);  // asking twice changes nothing

  delete target;
  EXPECT_EQ(watcher->Watched, nullptr);
  EXPECT_EQ(
      std::count(watcher->Events.begin(), watcher->Events.end(), TProbe::TEvent{target, opRemove}),
      1);

  // The link goes both ways and is dropped on either side's destruction.
  auto* other = new TProbe(&formB, "Other");
  other->FreeNotification(watcher);
  // Compared as an address: the freed pointer itself is not to be used any more.
  const auto watcherAddress = reinterpret_cast<uintptr_t>(watcher);
  delete watcher;
  ASSERT_EQ(other->Events.size(), 1u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(other->Events[0].Component), watcherAddress);
  EXPECT_EQ(other->Events[0].Operation, opRemove);
  delete other;
}

TEST(TComponentTest, NamesAreValidatedAndUniqueIgnoringCase) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Button1");

  for (const char* bad : {"1abc", "a-b", "a b", " a", "é", "a.b"}) {
    try {
      b->SetName(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message(), "'" + String(bad) + "' is not a valid component name");
    }
  }
  for (const char* good : {"_", "_x9", "Abc_12", "z"})
    EXPECT_NO_THROW(b->SetName(good)) << good;

  try {
    b->SetName("BUTTON1");
    ADD_FAILURE() << "duplicate name accepted";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named BUTTON1 already exists");
  }
  EXPECT_EQ(b->Name(), "z");

  a->SetName("BUTTON1");  // a change of case only is no clash with itself
  EXPECT_EQ(owner.FindComponent("button1"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);

  // Unnamed components never clash; components without an owner need no unique name.
  b->SetName("");
  auto* c = new TComponent(&owner);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  EXPECT_EQ(c->Name(), "");
  TComponent loose1(nullptr), loose2(nullptr);
  loose1.SetName("Same");
  EXPECT_NO_THROW(loose2.SetName("Same"));
}

TEST(TComponentTest, InsertComponentMovesBetweenOwnersWithoutHalfApplying) {
  TComponent first(nullptr), second(nullptr);
  auto* item = new TComponent(&first);
  item->SetName("Item");
  auto* clash = new TComponent(&second);
  clash->SetName("ITEM");

  EXPECT_THROW(second.InsertComponent(item), EComponentError);
  EXPECT_EQ(item->Owner(), &first);
  EXPECT_EQ(first.ComponentCount(), 1);

  clash->SetName("Other");
  second.InsertComponent(item);
  EXPECT_EQ(item->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(item->ComponentIndex(), 1);
  item->SetComponentIndex(0);
  EXPECT_EQ(second.Components(0), item);

  // Owning oneself or an owner would free a component twice.
  EXPECT_THROW(item->InsertComponent(item), EInvalidOperation);
  EXPECT_THROW(item->InsertComponent(&second), EInvalidOperation);
  auto* grandchild = new TComponent(item);
  EXPECT_THROW(grandchild->InsertComponent(item), EInvalidOperation);
  EXPECT_EQ(grandchild->Owner(), item);
}

TEST(TComponentTest, StateFlags) {
  TComponent root(nullptr);
  root.SetComponentStateFlag(csLoading, true);
  root.SetComponentStateFlag(csReading, true);
  EXPECT_EQ(root.ComponentState(), (TComponentState{csLoading, csReading}));
  root.Loaded();
  EXPECT_EQ(root.ComponentState(), TComponentState{csReading});
  root.SetComponentStateFlag(csReading, false);
  EXPECT_TRUE(root.ComponentState().Empty());

  // Designing spreads to what the component owns and to what it takes in later.
  auto* child = new TComponent(&root);
  root.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  auto* later = new TComponent(child);
  EXPECT_TRUE(later->ComponentState().Contains(csDesigning));
}

class TValue : public TPersistent {
  BW_CLASS(TValue, TPersistent)

 public:
  int32_t Value = 0;
  void Assign(TPersistent* Source) override {
    if (auto* v = dynamic_cast<TValue*>(Source)) {
      Value = v->Value;
      return;
    }
    TPersistent::Assign(Source);
  }
};

// Knows how to copy itself into a TValue, though TValue does not know it.
class TText : public TPersistent {
  BW_CLASS(TText, TPersistent)

 public:
  TText(TPersistent* owner = nullptr) : FOwner(owner) {}
  String Text;
  TPersistent* GetOwner() override { return FOwner; }

 protected:
  void AssignTo(TPersistent* Dest) override {
    if (auto* v = dynamic_cast<TValue*>(Dest)) {
      v->Value = int32_t(Text.size());
      return;
    }
    TPersistent::AssignTo(Dest);
  }

 private:
  TPersistent* FOwner;
};

TEST(TPersistentTest, AssignTriesBothSidesThenNamesBothClasses) {
  TValue a, b;
  b.Value = 7;
  a.Assign(&b);
  EXPECT_EQ(a.Value, 7);

  TText text;
  text.Text = "four";
  a.Assign(&text);
  EXPECT_EQ(a.Value, 4);

  try {
    text.Assign(&a);
    FAIL() << "incompatible assignment accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TValue to a TText");
  }
  try {
    a.Assign(nullptr);
    FAIL() << "assignment from nothing accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TValue");
  }
  TComponent component(nullptr);
  EXPECT_THROW(component.Assign(&a), EConvertError);
}

TEST(TPersistentTest, NamePathFollowsOwners) {
  TComponent grid(nullptr);
  grid.SetName("Grid1");
  TText font(&grid);
  EXPECT_EQ(font.GetNamePath(), "Grid1.TText");
  TText loose;
  EXPECT_EQ(loose.GetNamePath(), "TText");
}

}  // namespace
}  // namespace bw
