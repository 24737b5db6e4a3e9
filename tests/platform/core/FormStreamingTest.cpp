// Whole component trees through the form writer and reader, in both forms, and the
// failures that must leave nothing behind.

#include <gtest/gtest.h>

#include <cstdio>

#include "FormTestClasses.h"
#include "TempFolder.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/ComponentPalette.h"
#include "platform/core/EParserError.h"
#include "platform/core/FormConversion.h"
#include "platform/core/FormStreaming.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TPropInfo.h"

namespace bw {
namespace {

using namespace formtest;

// Every published property, sub-objects' included, as "Path=value" lines.
String Dump(TPersistent* Object, const String& Prefix = "") {
  String out;
  for (const TPropInfo* p : GetPropList(Object->ClassType())) {
    const String path = Prefix + p->Name;
    switch (p->Kind) {
      case tkString:
        out += path + "=" + p->GetStr(Object) + "\n";
        break;
      case tkFloat: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%a", p->GetFloat(Object));
        out += path + "=" + buf + "\n";
        break;
      }
      case tkMethod:
        out += path + "=" + p->GetHandler(Object) + "\n";
        break;
      case tkClass: {
        TPersistent* o = p->GetObject(Object);
        if (auto* c = dynamic_cast<TComponent*>(o))
          out += path + "->" + c->Name() + "\n";
        else if (o)
          out += Dump(o, path + ".");
        break;
      }
      default:
        out += path + "=" + std::to_string(p->GetOrd(Object)) + "\n";
        break;
    }
  }
  if (auto* lines = dynamic_cast<TStrings*>(Object)) out += Prefix + "Text=" + lines->Text() + "\n";
  return out;
}

String DumpTree(TComponent* Root) {
  String out = Root->Name() + ":" + Root->ClassName() + "\n" + Dump(Root);
  Root->GetChildren(
      [&](TComponent* Child) {
        out += "child of " + Root->Name() + " ";
        out += DumpTree(Child);
      },
      Root);
  for (int32_t i = 0; i < Root->ComponentCount(); ++i) {
    auto* box = dynamic_cast<TBox*>(Root->Components(i));
    if (box && box->ParentBox() && box->ParentBox() != Root)
      out += box->Name() + " inside " + box->ParentBox()->Name() + "\n" + Dump(box);
  }
  return out;
}

class FormStreamingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    TWidget::LoadLog().clear();
    FLive = TWidget::LiveCount();
  }
  void TearDown() override { EXPECT_EQ(TWidget::LiveCount(), FLive) << "components leaked"; }

  // A form using every kind of property, a sub-object chain, a string list, defined
  // properties, an event, a reference and nested children.
  static std::unique_ptr<TTestForm> MakeForm() {
    auto form = std::make_unique<TTestForm>(nullptr);
    form->SetName("Form1");
    auto* box = new TBox(form.get());
    box->SetName("Box1");
    box->SetParentComponent(form.get());
    auto* inner = new TBox(form.get());
    inner->SetName("Box2");
    inner->SetParentComponent(box);
    inner->SetCaption("deep");
    inner->SetTag(-7);
    auto* w = new TWidget(form.get());
    w->SetName("Widget1");
    w->SetCount(-5);
    w->SetBig(5000000000LL);
    w->SetSmall(200);
    w->SetEnabled(false);
    w->SetLetter(U'\u00E9');
    w->SetShape(shTriangle);
    w->SetStyles({stBold, stUnderline});
    w->SetCaption("Caf\xC3\xA9 'quoted' \t and a long tail " + String(80, '*'));
    w->SetRatio(0.1);
    w->SetOnClick(TNotifyEvent([](TObject*) {}, "ButtonClick"));
    w->Inner()->SetLabel("label");
    w->Inner()->Depth()->SetRatio(2.25);
    w->Inner()->Tags = {"a", "b"};
    w->Inner()->Lines()->SetText("Root\n\tChild '1'\n\n");
    w->SetBuddy(inner);
    w->SetColCount(3);
    w->ColWidths() = {200, 64, 80};
    return form;
  }

  int FLive = 0;
};

TEST_F(FormStreamingTest, EveryKindRoundTripsInBothForms) {
  auto form = MakeForm();
  const String original = DumpTree(form.get());
  for (const String& data : {ComponentToBinary(form.get()), ComponentToText(form.get())}) {
    std::unique_ptr<TComponent> loaded(ComponentFromString(data));
    ASSERT_EQ(loaded->ClassType(), &TTestForm::StaticClassInfo());
    EXPECT_EQ(DumpTree(loaded.get()), original);
    auto* w = dynamic_cast<TWidget*>(loaded->FindComponent("Widget1"));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->ColWidths(), (std::vector<int32_t>{200, 64, 80}));
    EXPECT_EQ(w->Inner()->Tags, (std::vector<String>{"a", "b"}));
    EXPECT_EQ(w->Buddy(), loaded->FindComponent("Box2"));
    // The event was bound to the root's handler, not just named.
    w->OnClick()(w);
    EXPECT_EQ(dynamic_cast<TTestForm*>(loaded.get())->Clicks, std::vector<String>{"Widget1"});
    // Written again, the loaded form gives the same data.
    EXPECT_EQ(data[0] == 'T' ? ComponentToBinary(loaded.get()) : ComponentToText(loaded.get()),
              data);
  }
}

TEST_F(FormStreamingTest, TextToBinaryToTextGivesTheSameText) {
  auto form = MakeForm();
  const String text = ComponentToText(form.get());
  EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(text)), text);
  EXPECT_EQ(ObjectTextToBinary(text), ComponentToBinary(form.get()));
}

TEST_F(FormStreamingTest, WritesWhatDiffersFromDefaults) {
  TTestForm form(nullptr);
  form.SetName("Form1");
  auto* w = new TWidget(&form);
  w->SetName("W");
  // Ordinals without a default are written even at zero; defaults, empty strings, zero
  // floats, unassigned events, empty lists and nil references are not.
  EXPECT_EQ(ComponentToText(&form),
            "object Form1: TTestForm\n"
            "  Count = 0\n  Big = 0\n  Small = 0\n  Letter = 'A'\n  Styles = []\n  ColCount = 0\n"
            "  object W: TWidget\n"
            "    Count = 0\n    Big = 0\n    Small = 0\n    Letter = 'A'\n    Styles = []\n"
            "    ColCount = 0\n"
            "  end\n"
            "end\n");
  // An event whose handler has no name cannot be stored and is left out.
  w->SetOnClick(TNotifyEvent([](TObject*) {}));
  EXPECT_EQ(ComponentToText(&form).find("OnClick"), String::npos);
}

TEST_F(FormStreamingTest, AComponentThatCannotBeStoredWritesNothing) {
  TTestForm form(nullptr);
  auto* w = new TWidget(&form);
  w->SetShape(static_cast<TShape>(7));
  TMemoryStream out;
  EXPECT_THROW(SaveComponentToStream(&out, &form, sofBinary), EWriteError);
  EXPECT_THROW(SaveComponentToStream(&out, &form, sofText), EWriteError);
  EXPECT_EQ(out.Size(), 0);
  EXPECT_TRUE(w->ComponentState().Empty());
}

TEST_F(FormStreamingTest, FilesRoundTripInBothFormsAndReplaceTheOldFileWhole) {
  testing::TempFolder folder;
  const String path = folder.Path("form.dfm");
  auto form = MakeForm();
  SaveComponentToFile(path, form.get(), sofText);
  EXPECT_EQ(testing::ReadFile(path), ComponentToText(form.get()));
  SaveComponentToFile(path, form.get());
  EXPECT_EQ(testing::ReadFile(path), ComponentToBinary(form.get()));
  std::unique_ptr<TComponent> loaded(LoadComponentFromFile(path));
  EXPECT_EQ(DumpTree(loaded.get()), DumpTree(form.get()));

  // A component that cannot be stored leaves the old file and no temporary beside it.
  new TWidget(form.get());
  dynamic_cast<TWidget*>(form->Components(form->ComponentCount() - 1))
      ->SetShape(static_cast<TShape>(7));
  EXPECT_THROW(SaveComponentToFile(path, form.get(), sofText), EWriteError);
  EXPECT_EQ(testing::ReadFile(path), ComponentToBinary(loaded.get()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Root()), {}), 1);
  EXPECT_THROW(SaveComponentToFile(folder.Path("no/such/folder.dfm"), loaded.get()), EFCreateError);
}

TEST_F(FormStreamingTest, ReadingABadFileChangesNothing) {
  testing::TempFolder folder;
  TTestForm form(nullptr);
  form.SetName("Kept");
  EXPECT_THROW(LoadComponentFromFile(folder.Path("missing.dfm"), &form), EFOpenError);
  // A directory cannot be read as a form.
  EXPECT_THROW(LoadComponentFromFile(folder.Root(), &form), Exception);
  const String good = ComponentToText(MakeForm().get());
  testing::WriteFile(folder.Path("cut.dfm"), good.substr(0, good.size() / 2));
  EXPECT_THROW(LoadComponentFromFile(folder.Path("cut.dfm"), &form), EParserError);
  EXPECT_THROW(delete LoadComponentFromFile(folder.Path("cut.dfm")), EParserError);
  EXPECT_EQ(form.Name(), "Kept");
  EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(FormStreamingTest, ReferencesResolveAfterTheWholeForm) {
  std::unique_ptr<TComponent> form(
      ComponentFromString("object Form1: TTestForm\n"
                          "  Buddy = Later\n"  // a component further down
                          "  object A: TWidget\n"
                          "    Buddy = Form1.Later\n"  // dotted through the root
                          "  end\n"
                          "  object B: TWidget\n"
                          "    Buddy = Missing\n"  // unknown: left unset, as other readers do
                          "  end\n"
                          "  object Later: TWidget\n"
                          "    Buddy = Form1\n"
                          "  end\n"
                          "end\n"));
  auto* later = form->FindComponent("Later");
  EXPECT_EQ(dynamic_cast<TWidget*>(form.get())->Buddy(), later);
  EXPECT_EQ(dynamic_cast<TWidget*>(form->FindComponent("A"))->Buddy(), later);
  EXPECT_EQ(dynamic_cast<TWidget*>(form->FindComponent("B"))->Buddy(), nullptr);
  EXPECT_EQ(dynamic_cast<TWidget*>(later)->Buddy(), form.get());
  // A reference to a component of the wrong class is refused.
  EXPECT_THROW(delete ComponentFromString("object Form1: TTestForm\n  Buddy = X\n"
                                          "  object X: TComponent\n  end\nend\n"),
               EReadError);
}

TEST_F(FormStreamingTest, ARootsReferenceToItsOwnComponentIsStoredByName) {
  // The root owns every component of the form, which makes none of them its sub-object.
  std::unique_ptr<TComponent> form(
      ComponentFromString("object Form1: TTestForm\n  Buddy = Widget2\n  object Widget2: TWidget\n"
                          "    Count = -1\n  end\nend\n"));
  for (const String& stored : {ComponentToText(form.get()), ComponentToBinary(form.get())}) {
    EXPECT_EQ(stored.find("Buddy.Count"), String::npos);
    std::unique_ptr<TComponent> back(ComponentFromString(stored));
    EXPECT_EQ(dynamic_cast<TWidget*>(back.get())->Buddy(), back->FindComponent("Widget2"));
  }
  EXPECT_NE(ComponentToText(form.get()).find("  Buddy = Widget2\n"), String::npos);
}

TEST_F(FormStreamingTest, SeveralBareValuesRoundTripInBinaryOnly) {
  TTestForm form(nullptr);
  form.SetName("Form1");
  form.Sparse()->Entries = {{0, "a"}, {3, ""}, {5, "c"}};
  std::unique_ptr<TComponent> loaded(ComponentFromString(ComponentToBinary(&form)));
  EXPECT_EQ(dynamic_cast<TWidget*>(loaded.get())->Sparse()->Entries, form.Sparse()->Entries);
  try {
    ComponentToText(&form);
    FAIL() << "text written";
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message().find("Sparse.List"), String::npos) << e.Message();
  }
}

TEST_F(FormStreamingTest, LoadedRunsOnEveryComponentAfterTheWholeForm) {
  auto form = MakeForm();
  const String data = ComponentToBinary(form.get());
  std::unique_ptr<TComponent> loaded(ComponentFromString(data));
  // In stream order: the root, its parentless components, then the boxes' children.
  EXPECT_EQ(TWidget::LoadLog(), (std::vector<String>{"Form1", "Widget1", "Box1", "Box2"}));
  for (int32_t i = 0; i < loaded->ComponentCount(); ++i)
    EXPECT_TRUE(loaded->Components(i)->ComponentState().Empty());
  EXPECT_TRUE(loaded->ComponentState().Empty());
  EXPECT_TRUE(form->ComponentState().Empty()) << "csWriting left set";
}

TEST_F(FormStreamingTest, ReadsIntoAnExistingRootIgnoringNameCase) {
  TTestForm form(nullptr);
  auto* w = new TWidget(&form);
  w->SetName("W");
  ComponentFromString(
      "object Form1: TTestForm\n"
      "  CAPTION = 'top'\n"
      "  inner.LINES.strings = ('x' 'y')\n"
      "  colcount = 2\n"
      "  COLWIDTHS = (5 6)\n"
      "  inherited W: TWidget\n"
      "    onclick = buttonclick\n"
      "  end\n"
      "end\n",
      &form);
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.Caption(), "top");
  EXPECT_EQ(form.Inner()->Lines()->Text(), "x\ny\n");
  EXPECT_EQ(form.ColWidths(), (std::vector<int32_t>{5, 6}));
  EXPECT_EQ(form.ComponentCount(), 1);  // inherited: the existing W was used
  EXPECT_EQ(w->OnClick().HandlerName(), "ButtonClick");
  EXPECT_THROW(ComponentFromString("object W: TDepth\nend\n", &form), EReadError);
}

TEST_F(FormStreamingTest, AFailedReadKeepsTheNamesAndParentsOfExistingComponents) {
  TBox holder(nullptr);
  TTestForm form(nullptr);
  form.SetName("Mine");
  auto* box = new TBox(&form);
  box->SetName("Box1");
  box->SetParentComponent(&holder);
  EXPECT_THROW(ComponentFromString("object Form1: TTestForm\n"
                                   "  object Panel: TBox\n"
                                   "    inline BOX1: TBox\n"
                                   "      Nope = 1\n"
                                   "    end\n"
                                   "  end\n"
                                   "end\n",
                                   &form),
               EReadError);
  EXPECT_EQ(form.Name(), "Mine");
  // The box was moved into the new panel; it must not go when the panel does.
  ASSERT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0)->Name(), "Box1");
  EXPECT_EQ(box->GetParentComponent(), &holder);

  // The same for a file cut short anywhere, in either form; the whole file then reads.
  const String text =
      "object Form1: TTestForm\n  Caption = 'new'\n  object Panel: TBox\n"
      "    inline Box1: TBox\n      Count = 3\n    end\n    object Inside: TWidget\n    end\n"
      "  end\nend\n";
  const int live = TWidget::LiveCount();
  for (const String& good : {text, ObjectTextToBinary(text)}) {
    // The last cut of the text leaves only its final line break out, which still reads.
    for (size_t n = 0; n + 1 < good.size(); ++n) {
      EXPECT_THROW(ComponentFromString(good.substr(0, n), &form), Exception) << n;
      ASSERT_EQ(TWidget::LiveCount(), live) << n;
      ASSERT_EQ(form.Name(), "Mine") << n;
      ASSERT_EQ(form.ComponentCount(), 1) << n;
      ASSERT_EQ(box->Name(), "Box1") << n;
      ASSERT_EQ(box->GetParentComponent(), &holder) << n;
      ASSERT_TRUE(form.ComponentState().Empty() && box->ComponentState().Empty()) << n;
    }
  }
  ComponentFromString(text, &form);
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.ComponentCount(), 3);
  EXPECT_EQ(box->GetParentComponent(), form.FindComponent("Panel"));
  EXPECT_EQ(box->Count(), 3);
}

// Found by name inside itself or its own child, a component would become its own ancestor.
TEST_F(FormStreamingTest, AComponentFoundByNameCannotBeReadInsideItself) {
  for (const char* text :
       {"object Form1: TTestForm\n  inline Box1: TBox\n    inline Box1: TBox\n    end\n"
        "  end\nend\n",
        "object Form1: TTestForm\n  inline Box1: TBox\n    object Box2: TBox\n"
        "      inline Box1: TBox\n      end\n    end\n  end\nend\n"}) {
    EXPECT_THROW(delete ComponentFromString(text), EReadError);
    EXPECT_EQ(TWidget::LiveCount(), FLive);
  }
}

struct TBadForm {
  const char* Name;
  const char* Body;      // the properties and children of Widget1 inside Form1
  const char* Expected;  // part of the message
};

class FormBadInputTest : public FormStreamingTest,
                         public ::testing::WithParamInterface<TBadForm> {};

TEST_P(FormBadInputTest, FailsCleanlyInBothForms) {
  const TBadForm& bad = GetParam();
  const String text = String("object Form1: TTestForm\n  object Box1: TBox\n  end\n") +
                      "  object Widget1: TWidget\n" + bad.Body + "  end\nend\n";
  for (bool asText : {true, false}) {
    String data = text;
    if (!asText) {
      try {
        data = ObjectTextToBinary(text);
      } catch (const EParserError& e) {
        FAIL() << e.Message();
      }
    }
    try {
      delete ComponentFromString(data);
      ADD_FAILURE() << "read without error";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(bad.Expected), String::npos) << e.Message();
      if (asText && dynamic_cast<const EReadError*>(&e)) {
        EXPECT_NE(dynamic_cast<const EParserError*>(&e), nullptr) << "no position: " << e.Message();
      }
    }
    EXPECT_EQ(TWidget::LiveCount(), FLive) << "half-built form left behind";
  }
  // Into an existing root: what the reader created goes, the root stays and is usable.
  TTestForm form(nullptr);
  form.SetName("Mine");
  EXPECT_THROW(ComponentFromString(text, &form), Exception);
  EXPECT_EQ(form.Name(), "Mine");
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_TRUE(form.ComponentState().Empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormBadInputTest,
    ::testing::Values(
        TBadForm{"UnknownClass", "    object X: TNoSuchClass\n    end\n", "TNoSuchClass"},
        TBadForm{"UnknownProperty", "    Nope = 1\n",
                 "Error reading Widget1.Nope: Unknown property"},
        TBadForm{"UnknownSubProperty", "    Inner.Nope.X = 1\n", "Unknown property \"Nope\""},
        TBadForm{"WrongKind", "    Count = 'x'\n", "expected a 32-bit integer, found a string"},
        TBadForm{"Int64ForInteger", "    Count = 5000000000\n", "Widget1.Count"},
        TBadForm{"OutOfRange", "    Small = 300\n", "out of range"},
        TBadForm{"UnknownEnum", "    Shape = shHexagon\n", "shHexagon"},
        TBadForm{"UnknownSetElement", "    Styles = [stBold, stWavy]\n", "stWavy"},
        TBadForm{"NotABoolean", "    Enabled = 1\n", "expected a boolean"},
        TBadForm{"TwoLetters", "    Letter = 'ab'\n", "one character"},
        TBadForm{"ShortList", "    ColCount = 3\n    ColWidths = (1 2)\n", "Widget1.ColWidths"},
        TBadForm{"LongList", "    ColCount = 2\n    ColWidths = (1 2 3)\n", "end of the list"},
        TBadForm{"CountPastLimit", "    ColCount = 1329793283\n", "Widget1.ColCount"},
        TBadForm{"NoHandler", "    OnClick = Missing\n", "no handler named \"Missing\""},
        TBadForm{"WrongHandler", "    OnClick = Twice\n", "does not fit"},
        TBadForm{"BinaryForList", "    Inner.Lines.Strings = {00}\n", "expected a list"},
        TBadForm{"DuplicateName", "    object Box1: TBox\n    end\n", "Box1"},
        TBadForm{"LoadedFails", "    Caption = 'FailInLoaded'\n", "Loaded failed"}),
    [](const ::testing::TestParamInfo<TBadForm>& I) { return String(I.param.Name); });

TEST_F(FormStreamingTest, TextErrorsPointAtTheProperty) {
  try {
    delete ComponentFromString("object Form1: TTestForm\n  Count = 1\n\n    Nope = 2\nend\n");
    FAIL();
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Line(), 4);
    EXPECT_EQ(e.Column(), 5);
  }
}

TEST_F(FormStreamingTest, DamagedBinaryLeavesNothingBehind) {
  const String good = ComponentToBinary(MakeForm().get());
  for (size_t n = 0; n < good.size(); ++n) {
    EXPECT_THROW(delete ComponentFromString(good.substr(0, n)), Exception) << n;
    ASSERT_EQ(TWidget::LiveCount(), FLive) << n;
  }
  // Flipped bytes either read or fail cleanly; they never crash or leak.
  for (size_t i = 4; i < good.size(); i += 3) {
    String bad = good;
    bad[i] = static_cast<char>(bad[i] ^ 0x5A);
    try {
      delete ComponentFromString(bad);
    } catch (const Exception&) {
    }
    ASSERT_EQ(TWidget::LiveCount(), FLive) << i;
  }
}

TEST(ClassRegistryTest, ClassesAreFoundByNameAndCreatedWithAnOwner) {
  RegisterTestClasses();
  EXPECT_EQ(FindClass("twidget"), &TWidget::StaticClassInfo());
  EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
  EXPECT_THROW(FindClass("TNoSuchClass"), EClassNotFound);
  TComponent owner(nullptr);
  TComponent* c = CreateComponent(FindClass("TBox"), &owner);
  EXPECT_EQ(c->ClassName(), "TBox");
  EXPECT_EQ(c->Owner(), &owner);
  // A sub-object class is known but cannot be created as a component.
  EXPECT_THROW(CreateComponent(FindClass("TInner"), &owner), EClassNotFound);
}

class TOtherWidget : public TComponent {
  BW_CLASS(TOtherWidget, TComponent)
 public:
  using TComponent::TComponent;
};

class TUnregistered : public TComponent {
  BW_CLASS(TUnregistered, TComponent)
 public:
  using TComponent::TComponent;
};

TEST(ComponentPaletteTest, PagesAndClassesKeepTheirOrder) {
  ClearPalette();
  RegisterComponents<TBox, TWidget>("Brantwell");
  RegisterComponents<TOtherWidget>("Other");
  RegisterComponents("Brantwell", {&TBox::StaticClassInfo()});  // already there: no change
  EXPECT_EQ(PalettePages(), (std::vector<String>{"Brantwell", "Other"}));
  EXPECT_EQ(PaletteClasses("brantwell"),
            (std::vector<TClass>{&TBox::StaticClassInfo(), &TWidget::StaticClassInfo()}));
  EXPECT_TRUE(PaletteClasses("Missing").empty());
  EXPECT_EQ(GetClass("TOtherWidget"), &TOtherWidget::StaticClassInfo());
  EXPECT_THROW(RegisterComponents("Other", {&TUnregistered::StaticClassInfo()}), EClassNotFound);
  EXPECT_EQ(PaletteClasses("Other").size(), 1u);
  ClearPalette();
}

}  // namespace
}  // namespace bw
