#include "LockwynLib.Limits.h"

#include "LockwynLib.TokenGroup.h"

#include <algorithm>
#include <string>

namespace Lockwyn {

namespace {

template <typename F> void ForEachText(const TTokenSnapshotData& snapshot, F&& onText)
{
    for (int field = 0; field < TokenFieldCount; ++field)
        if (snapshot.Has(field))
            onText(snapshot.Values[field]);
    for (const auto& property : snapshot.CustomProperties) {
        onText(property.GetName());
        onText(property.GetValue());
    }
}

template <typename F> void ForEachText(const TTokenData& token, F&& onText)
{
    for (const auto& field : token.Fields)
        onText(field);
    for (const auto& property : token.CustomProperties) {
        onText(property.GetName());
        onText(property.GetValue());
    }
    for (const auto& entry : token.History) {
        ForEachText(entry.First, onText);
        if (entry.Second)
            ForEachText(*entry.Second, onText);
    }
    if (token.AutoLogin) {
        const TAutoLoginValues values = AutoLoginValues(token.AutoLogin);
        for (const auto* text :
             {&values.LoginURL, &values.UserNameElement.ID, &values.UserNameElement.Name,
              &values.PasswordElement.ID, &values.PasswordElement.Name})
            onText(*text);
    }
}

template <typename F> void ForEachText(const TGroupData& group, F&& onText)
{
    onText(group.Title);
    for (const auto& name : group.Template)
        onText(name);
}

// Why the text cannot be stored; empty when it can.
std::string Fault(const QString& text)
{
    if (text.size() > DatabaseLimits::MaxTextLength)
        return "A text is longer than the " + std::to_string(DatabaseLimits::MaxTextLength) +
               " characters a database holds in one value";
    if (!text.isValidUtf16())
        return "A text holds a broken character (an unpaired surrogate), which cannot be saved";
    return {};
}

template <typename TData> void RequireTextsOf(const TData& data, const TData* before)
{
    ForEachText(data, [&](const QString& text) {
        const std::string fault = Fault(text);
        if (fault.empty())
            return;
        bool stored = false;
        if (before)
            ForEachText(*before, [&](const QString& old) { stored = stored || old == text; });
        if (!stored)
            throw ELimitExceeded(fault);
    });
}

} // namespace

int GroupLevel(const TTokenGroup& group)
{
    int level = 0;
    for (const TTokenGroup* parent = group.Parent(); parent; parent = parent->Parent())
        ++level;
    return level;
}

int TreeHeight(const TTokenGroup& group)
{
    int height = 0;
    for (const auto& child : group.Groups())
        height = std::max(height, TreeHeight(*child));
    return height + 1;
}

int TreeHeight(const TGroupTreeData& tree)
{
    int height = 0;
    for (const auto& child : tree.Groups)
        height = std::max(height, TreeHeight(child));
    return height + 1;
}

void RequireRoomBelow(const TTokenGroup& parent, int height)
{
    if (GroupLevel(parent) + height > DatabaseLimits::MaxGroupDepth)
        throw ELimitExceeded("Groups can be nested " +
                             std::to_string(DatabaseLimits::MaxGroupDepth) +
                             " levels deep at most");
}

void RequireTexts(const TTokenData& token, const TTokenData* before)
{
    RequireTextsOf(token, before);
}

void RequireTexts(const TGroupData& group, const TGroupData* before)
{
    RequireTextsOf(group, before);
}

void RequireContentTexts(const TGroupTreeData& tree)
{
    for (const auto& token : tree.Tokens)
        RequireTexts(token);
    for (const auto& child : tree.Groups) {
        RequireTexts(child.Group);
        RequireContentTexts(child);
    }
}

} // namespace Lockwyn
