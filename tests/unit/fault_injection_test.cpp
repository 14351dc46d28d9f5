// Makes every call that a handler makes fail in turn (its cue, each client call, each control read
// or write) and checks the failure rule: the error with its code reaches the message box, nothing
// after the failing call runs, what ran before stays done, and the window keeps running.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "tests/unit/doubles.h"

namespace plumwick::testing {
namespace {

struct Scenario {
  const char* name;
  std::function<void(Rig&)> prepare;  // after start-up
  std::function<void(Rig&)> act;
};

std::vector<Scenario> Scenarios() {
  return {
      {"status pick", [](Rig&) {}, [](Rig& rig) { rig.status_box.Pick(2); }},
      {"Select List",
       [](Rig& rig) {
         rig.messenger.contacts = {{"a@x", 2}, {"off@x", 1}, {"b@x", 34}};
         rig.contact_list.entries = {"old@x"};
       },
       [](Rig& rig) { rig.select_list.Click(); }},
      {"Clear List",
       [](Rig& rig) {
         rig.contact_list.entries = {"a@x"};
         rig.pad.text = "pad";
         rig.clear_list.enabled = true;
       },
       [](Rig& rig) { rig.clear_list.Click(); }},
      {"double-click",
       [](Rig& rig) {
         rig.contact_list.entries = {"a@x"};
         rig.contact_list.current = 0;
       },
       [](Rig& rig) { rig.contact_list.DoubleClick(); }},
      {"Time", [](Rig&) {}, [](Rig& rig) { rig.insert_time.Click(); }},
      {"Date", [](Rig&) {}, [](Rig& rig) { rig.insert_date.Click(); }},
      {"Get IP !", [](Rig& rig) { rig.pad.text = "old"; }, [](Rig& rig) { rig.get_ip.Click(); }},
      {"Clear",
       [](Rig& rig) {
         rig.pad.text = "old";
         rig.clear_pad.enabled = true;
       },
       [](Rig& rig) { rig.clear_pad.Click(); }},
      {"Clipboard",
       [](Rig& rig) {
         rig.pad.text = "old";
         rig.copy_pad.enabled = true;
       },
       [](Rig& rig) { rig.copy_pad.Click(); }},
  };
}

// "client.MyStatus(34)" -> name "client.MyStatus", arguments "34".
std::string NameOf(const std::string& call) {
  return call.substr(0, call.find('('));
}
std::string ArgumentsOf(const std::string& call) {
  const std::size_t open = call.find('(');
  return call.substr(open + 1, call.size() - open - 2);
}

// What the window shows: the list, the pad, the clipboard and the buttons' flags.
struct State {
  std::vector<std::string> list;
  std::string pad;
  std::string clipboard;
  std::map<std::string, bool> enabled;
  bool operator==(const State&) const = default;
};

State StateOf(Rig& rig) {
  State state{rig.contact_list.entries, rig.pad.text, rig.clipboard.text, {}};
  const std::pair<const char*, FakeButton*> buttons[] = {
      {"cmdload", &rig.select_list},      {"SkinButtons1", &rig.clear_list},
      {"SkinButtons2", &rig.clear_pad},   {"SkinButtons3", &rig.insert_time},
      {"SkinButtons4", &rig.insert_date}, {"SkinButtons5", &rig.get_ip},
      {"SkinButtons6", &rig.copy_pad}};
  for (const auto& [name, button] : buttons) state.enabled[name] = button->enabled;
  return state;
}

// The state after the given writes took effect, starting from `before`.
State Apply(State state, const std::vector<std::string>& calls) {
  for (const std::string& call : calls) {
    const std::string name = NameOf(call), arguments = ArgumentsOf(call);
    if (name == "lbContacts.Append") state.list.push_back(arguments);
    if (name == "lbContacts.Clear") state.list.clear();
    if (name == "Text1.SetText") state.pad = arguments;
    if (name == "Text1.ReplaceSelection") state.pad = arguments + state.pad;  // caret at the start
    if (name == "clipboard.SetText") state.clipboard = arguments;
    if (name.ends_with(".SetEnabled"))
      state.enabled[NameOf(name.substr(0, name.find('.')))] = arguments == "true";
  }
  return state;
}

// Runs the scenario after start-up; returns the calls the handler made and the state before it.
std::pair<std::vector<std::string>, State> RunScenario(const Scenario& scenario, Rig& rig) {
  EXPECT_TRUE(rig.form.Start());
  scenario.prepare(rig);
  const State before = StateOf(rig);
  const std::size_t mark = rig.log.calls.size();
  scenario.act(rig);
  return {{rig.log.calls.begin() + static_cast<std::ptrdiff_t>(mark), rig.log.calls.end()}, before};
}

TEST(FaultInjection, EachCallOfEachHandlerFailsInTurnUnderTheFailureRule) {
  for (const Scenario& scenario : Scenarios()) {
    Rig clean_rig;
    const auto [clean_calls, clean_before] = RunScenario(scenario, clean_rig);
    ASSERT_THAT(clean_rig.errors.shown, ::testing::IsEmpty()) << scenario.name;
    ASSERT_EQ(StateOf(clean_rig), Apply(clean_before, clean_calls)) << scenario.name;

    std::map<std::string, int> seen;
    for (std::size_t i = 0; i < clean_calls.size(); ++i) {
      const std::string name = NameOf(clean_calls[i]);
      if (name == "conversation.Release") continue;  // letting go cannot fail
      SCOPED_TRACE(std::string(scenario.name) + ": failing " + clean_calls[i]);

      Rig rig;
      const int occurrence = ++seen[name];
      // Arm the fault once start-up and preparation are through.
      const Scenario armed{scenario.name,
                           [&](Rig& r) {
                             scenario.prepare(r);
                             r.log.FailAt(name, occurrence);
                           },
                           scenario.act};
      const auto [calls, before] = RunScenario(armed, rig);

      ASSERT_EQ(rig.errors.shown.size(), 1u);
      EXPECT_EQ(rig.errors.shown[0].code(), kInjectedCode);
      const auto failing = clean_calls.begin() + static_cast<std::ptrdiff_t>(i);
      std::vector<std::string> expected(clean_calls.begin(), failing + 1);
      std::vector<std::string> made = calls;
      std::erase(made, "conversation.Release()");
      std::erase(expected, "conversation.Release()");
      EXPECT_EQ(made, expected) << "the handler stops at the failing call";
      EXPECT_EQ(StateOf(rig), Apply(before, {clean_calls.begin(), failing}))
          << "what was done before the failure stays done";
      EXPECT_EQ(rig.messenger.live_objects, 0) << "every client object is let go";

      rig.status_box.Pick(0);
      EXPECT_EQ(rig.log.calls.back(), "client.MyStatus(2)") << "the window keeps running";
    }
  }
}

}  // namespace
}  // namespace plumwick::testing
