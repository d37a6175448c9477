// Follows the nesting of a page's elements in one pass, and leaves out the tags of those too deep.
#include "band/html/nesting_limit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <unordered_map>
#include <utility>
#include <vector>

#include "band/html/html_elements.h"
#include "band/html/tree_builder_traits.h"

namespace ph {
namespace {

using namespace html_traits;

bool IsTagSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

struct Tag {
  std::size_t begin = 0;  // the '<'
  std::size_t end = 0;    // past the '>'
  std::string_view name;
  bool self_closing = false;
  bool complete = false;  // a tag cut short by the end of the page is no tag
};

// An open element of the model. Positions are indices into the stack; the root (the HTML element)
// is position 0 and bounds every search.
struct Open {
  int name = -1;
  int same_below = -1;     // the open element of the same name below, or -1
  int special = 0;         // the nearest special element at or below
  int scope = 0;           // the nearest bound of "in scope" at or below
  int button_scope = 0;
  int list_scope = 0;
  int list_stop = 0;       // the nearest special element that stops the search for an open LI, DD or DT
  bool foreign = false;    // in SVG or MathML content
  bool dropped = false;    // its tags are left out
  bool removed = false;    // closed while elements opened inside it stay open
};

class NestingLimiter {
 public:
  NestingLimiter(std::string_view html, int max_depth) : s_(html), max_depth_(max_depth) {
    for (const NameTraits& row : kTraitTable)
      for (const char* name : row.names) traits_[Intern(name)] |= row.traits;
    for (const char* name : kVoidElements) traits_[Intern(name)] |= kVoid;
    table_ = Intern("table"), tr_ = Intern("tr"), td_ = Intern("td"), th_ = Intern("th");
    tbody_ = Intern("tbody"), thead_ = Intern("thead"), tfoot_ = Intern("tfoot");
    li_ = Intern("li"), dd_ = Intern("dd"), dt_ = Intern("dt"), p_ = Intern("p"), h_ = Intern("h1");
    a_ = Intern("a"), nobr_ = Intern("nobr"), button_ = Intern("button"), form_ = Intern("form");
    option_ = Intern("option"), optgroup_ = Intern("optgroup"), select_ = Intern("select");
    ruby_ = Intern("ruby"), rb_ = Intern("rb"), rp_ = Intern("rp"), rt_ = Intern("rt"), rtc_ = Intern("rtc");
    svg_ = Intern("svg"), math_ = Intern("math"), br_ = Intern("br");
    stack_.emplace_back();
  }

  std::optional<std::string> Run() {
    const std::size_t n = s_.size();
    std::size_t i = 0;
    while (i < n) {
      const void* lt = std::memchr(s_.data() + i, '<', n - i);
      if (!lt) break;
      i = static_cast<const char*>(lt) - s_.data();
      if (i + 1 >= n) break;
      const char c = s_[i + 1];
      if (IsAsciiLetter(c)) {
        i = StartTag(i);
      } else if (c == '/') {
        i = i + 2 < n && IsAsciiLetter(s_[i + 2]) ? EndTag(i) : SkipPast(i + 2, ">");
      } else if (c == '!') {
        if (s_.compare(i, 4, "<!--") == 0) {
          i = SkipComment(i + 4);
        } else if (Top().foreign && s_.compare(i, 9, "<![CDATA[") == 0) {
          i = SkipPast(i + 9, "]]>");
        } else {
          i = SkipPast(i + 2, ">");
        }
      } else if (c == '?') {
        i = SkipPast(i + 2, ">");
      } else {
        ++i;
      }
    }
    if (!changed_) return std::nullopt;
    out_.append(s_.substr(copied_));
    return std::move(out_);
  }

 private:
  int Intern(std::string_view name) {
    if (name == last_name_) return last_id_;  // runs of one tag are common
    last_name_ = name;
    last_id_ = InternNew(name);
    return last_id_;
  }

  int InternNew(std::string_view name) {
    key_.assign(name.begin(), name.end());
    for (char& c : key_) c = LowerAscii(c);
    if (key_.size() == 2 && key_[0] == 'h' && key_[1] >= '1' && key_[1] <= '6') key_ = "h1";  // one name for all
    auto [it, added] = ids_.try_emplace(key_, static_cast<int>(traits_.size()));
    if (added) {
      traits_.push_back(0);
      top_.push_back(-1);
    }
    return it->second;
  }

  const Open& Top() const { return stack_.back(); }
  int TopPosition() const { return static_cast<int>(stack_.size()) - 1; }

  std::size_t SkipPast(std::size_t from, std::string_view what) const {
    const std::size_t at = s_.find(what, from);
    return at == std::string_view::npos ? s_.size() : at + what.size();
  }

  // A comment ends at "-->" or "--!>"; "<!-->" and "<!--->" are empty ones.
  std::size_t SkipComment(std::size_t from) const {
    if (s_.compare(from, 1, ">") == 0) return from + 1;
    if (s_.compare(from, 2, "->") == 0) return from + 2;
    for (;;) {
      const std::size_t dashes = s_.find("--", from);
      if (dashes == std::string_view::npos) return s_.size();
      if (s_.compare(dashes + 2, 1, ">") == 0) return dashes + 3;
      if (s_.compare(dashes + 2, 2, "!>") == 0) return dashes + 4;
      from = dashes + 1;
    }
  }

  // The text of a script, style and the like ends at the first end tag of its own name.
  std::size_t SkipRawText(std::size_t from, std::string_view name) const {
    for (;;) {
      const std::size_t at = s_.find("</", from);
      if (at == std::string_view::npos) return s_.size();
      const std::size_t after = at + 2 + name.size();
      bool same = after <= s_.size();
      for (std::size_t k = 0; same && k < name.size(); ++k) same = LowerAscii(s_[at + 2 + k]) == LowerAscii(name[k]);
      if (same && (after == s_.size() || IsTagSpace(s_[after]) || s_[after] == '/' || s_[after] == '>')) return at;
      from = at + 2;
    }
  }

  // Reads a tag whose name starts at name_at, with its attributes, as the tokenizer does.
  Tag ReadTag(std::size_t begin, std::size_t name_at) const {
    const std::size_t n = s_.size();
    Tag t;
    t.begin = begin;
    std::size_t j = name_at;
    while (j < n && !IsTagSpace(s_[j]) && s_[j] != '/' && s_[j] != '>') ++j;
    t.name = s_.substr(name_at, j - name_at);
    while (j < n) {
      const char c = s_[j];
      if (IsTagSpace(c)) {
        ++j;
      } else if (c == '>') {
        t.end = j + 1;
        t.complete = true;
        return t;
      } else if (c == '/') {
        if (j + 1 < n && s_[j + 1] == '>') {
          t.self_closing = t.complete = true;
          t.end = j + 2;
          return t;
        }
        ++j;
      } else {
        // An attribute: its name (which may begin with '='), then perhaps a value.
        ++j;
        while (j < n && !IsTagSpace(s_[j]) && s_[j] != '/' && s_[j] != '>' && s_[j] != '=') ++j;
        std::size_t k = j;
        while (k < n && IsTagSpace(s_[k])) ++k;
        if (k < n && s_[k] == '=') {
          ++k;
          while (k < n && IsTagSpace(s_[k])) ++k;
          if (k < n && (s_[k] == '"' || s_[k] == '\'')) {
            const std::size_t close = s_.find(s_[k], k + 1);
            if (close == std::string_view::npos) return t;
            k = close + 1;
          } else {
            while (k < n && !IsTagSpace(s_[k]) && s_[k] != '>') ++k;
          }
        }
        j = k;
      }
    }
    return t;
  }

  void Drop(const Tag& t) {
    if (!changed_) out_.reserve(s_.size());
    out_.append(s_.substr(copied_, t.begin - copied_));
    copied_ = t.end;
    changed_ = true;
  }

  void Push(int name, std::uint32_t traits, bool foreign, const Tag& t) {
    const int at = TopPosition() + 1;
    const Open& below = Top();
    Open e;
    e.name = name;
    e.same_below = top_[name];
    e.special = traits & kSpecial ? at : below.special;
    e.scope = traits & kScope ? at : below.scope;
    e.button_scope = traits & (kScope | kButtonScope) ? at : below.button_scope;
    e.list_scope = traits & (kScope | kListScope) ? at : below.list_scope;
    e.list_stop = (traits & kSpecial) && !(traits & kListPasses) ? at : below.list_stop;
    e.foreign = traits & kIntegration ? false : (foreign || below.foreign);
    e.dropped = depth_ >= max_depth_;
    if (e.dropped) Drop(t);
    stack_.push_back(e);
    top_[name] = at;
    ++depth_;
  }

  // Closes the element at position at and every element open above it.
  void PopTo(int at) {
    while (TopPosition() >= at && at > 0) {
      const Open& e = Top();
      if (!e.removed) {
        top_[e.name] = e.same_below;
        --depth_;
      }
      stack_.pop_back();
    }
  }

  // An end tag (or what stands for one) closes the element at position at.
  void Close(int at, const Tag& t) {
    if (stack_[at].dropped) Drop(t);
    PopTo(at);
  }

  // A formatting element closed by its end tag: when blocks were opened inside it, they stay open
  // (the parser moves copies of it into them), and only the element itself leaves.
  void CloseFormatting(int at, const Tag* t) {
    if (t && stack_[at].dropped) Drop(*t);
    if (Top().special < at) {
      PopTo(at);
      return;
    }
    Open& e = stack_[at];
    e.removed = true;
    top_[e.name] = e.same_below;
    --depth_;
  }

  bool TopIs(int name) const { return Top().name == name && !Top().removed; }

  void PopWhileTopIs(std::initializer_list<int> names) {
    while (TopPosition() > 0 && std::find(names.begin(), names.end(), Top().name) != names.end()) PopTo(TopPosition());
  }

  std::size_t StartTag(std::size_t i) {
    const Tag t = ReadTag(i, i + 1);
    if (!t.complete) return s_.size();
    const int name = Intern(t.name);
    const std::uint32_t traits = traits_[name];

    if (Top().foreign) {
      if (traits & kBreakout) {
        while (Top().foreign && std::max(top_[svg_], top_[math_]) > 0) PopTo(std::max(top_[svg_], top_[math_]));
      } else {
        ForeignElement(name, traits, t);
        return t.end;
      }
    }
    if (traits & kIgnored) return t.end;
    if (traits & kForeignRoot) {
      ForeignElement(name, traits, t);
      return t.end;
    }
    if (traits & kTablePart) {
      if (top_[table_] < 0) return t.end;  // the parser ignores it outside a table
      int context = top_[table_];
      if (name == td_ || name == th_) {
        context = std::max({context, top_[tr_], top_[tbody_], top_[thead_], top_[tfoot_]});
      } else if (name == tr_) {
        context = std::max({context, top_[tbody_], top_[thead_], top_[tfoot_]});
      }
      PopTo(context + 1);
      Push(name, traits, false, t);
      return t.end;
    }
    if (name == table_ && (TopIs(table_) || TopIs(tbody_) || TopIs(thead_) || TopIs(tfoot_) || TopIs(tr_))) {
      PopTo(top_[table_]);  // a table straight inside a table, not in one of its cells, ends it
    }

    if (name == li_) {
      if (top_[li_] > std::max({Top().list_stop, top_[dd_], top_[dt_]})) PopTo(top_[li_]);
    } else if (name == dd_ || name == dt_) {
      const int open = std::max(top_[dd_], top_[dt_]);
      if (open > std::max(Top().list_stop, top_[li_])) PopTo(open);
    }
    if ((traits & kClosesP) && top_[p_] > 0 && top_[p_] >= Top().button_scope) PopTo(top_[p_]);

    if (name == h_) {
      if (TopIs(h_)) PopTo(TopPosition());
    } else if (name == a_ || name == nobr_) {
      if (top_[name] > 0 && top_[name] >= Top().scope) CloseFormatting(top_[name], nullptr);
    } else if (name == button_) {
      if (top_[button_] > 0 && top_[button_] >= Top().scope) PopTo(top_[button_]);
    } else if (name == option_) {
      if (TopIs(option_)) PopTo(TopPosition());
    } else if (name == optgroup_) {
      if (TopIs(option_)) PopTo(TopPosition());
      if (top_[select_] > 0 && TopIs(optgroup_)) PopTo(TopPosition());
    } else if (name == select_) {
      if (top_[select_] > 0) {  // a SELECT inside a SELECT ends it
        Close(top_[select_], t);
        return t.end;
      }
    } else if (name == form_) {
      if (top_[form_] > 0) return t.end;  // no form inside a form
    } else if (name == rb_ || name == rtc_) {
      if (top_[ruby_] > 0 && top_[ruby_] >= Top().scope) PopWhileTopIs({rb_, rp_, rt_, rtc_});
    } else if (name == rp_ || name == rt_) {
      if (top_[ruby_] > 0 && top_[ruby_] >= Top().scope) PopWhileTopIs({rb_, rp_, rt_});
    }

    if (traits & kVoid) return t.end;
    if (traits & kPlainText) return s_.size();
    if (traits & kRawText) return SkipRawText(t.end, t.name);
    Push(name, traits, false, t);
    return t.end;
  }

  // An element of SVG or MathML content: "/>" closes it, and only integration points bound scopes.
  void ForeignElement(int name, std::uint32_t traits, const Tag& t) {
    if (t.self_closing) {
      if (depth_ >= max_depth_) Drop(t);
      return;
    }
    Push(name, traits & kIntegration ? (kIntegration | kSpecial | kScope) : 0, true, t);
  }

  std::size_t EndTag(std::size_t i) {
    const Tag t = ReadTag(i, i + 2);
    if (!t.complete) return s_.size();
    const int name = Intern(t.name);
    const std::uint32_t traits = traits_[name];
    const int at = top_[name];

    if (Top().foreign && at > 0 && at >= std::max(top_[svg_], top_[math_])) {
      Close(at, t);
      return t.end;
    }
    if ((traits & kIgnored) || name == br_ || at <= 0) return t.end;
    if ((traits & kTablePart) || name == table_) {
      if (name == table_ || at > top_[table_]) Close(at, t);
    } else if (traits & kFormatting) {
      if (at >= Top().scope) CloseFormatting(at, &t);
    } else if (traits & kScoped) {
      const int bound = name == p_ ? Top().button_scope : name == li_ ? Top().list_scope : Top().scope;
      if (at >= bound) Close(at, t);
    } else if (Top().special <= at) {
      // Any other name closes the nearest open element of the name unless a special one is above it.
      Close(at, t);
    }
    return t.end;
  }

  std::string_view s_;
  const int max_depth_;
  std::unordered_map<std::string, int> ids_;
  std::vector<std::uint32_t> traits_;
  std::vector<int> top_;  // by name: the position of the nearest open element of the name, or -1
  std::string key_;
  std::string_view last_name_;
  int last_id_ = -1;
  std::vector<Open> stack_;
  int depth_ = 0;  // open elements (removed ones not counted)
  std::string out_;
  std::size_t copied_ = 0;
  bool changed_ = false;

  int table_, tr_, td_, th_, tbody_, thead_, tfoot_, li_, dd_, dt_, p_, h_, a_, nobr_, button_, form_;
  int option_, optgroup_, select_, ruby_, rb_, rp_, rt_, rtc_, svg_, math_, br_;
};

}  // namespace

std::optional<std::string> LimitNesting(std::string_view html, int max_depth) {
  return NestingLimiter(html, max_depth).Run();
}

}  // namespace ph
