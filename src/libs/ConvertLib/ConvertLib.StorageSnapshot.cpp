#include "ConvertLib.StorageSnapshot.h"

namespace Lockwyn {

TTokenRecord SnapshotToken(IToken& token)
{
    TTokenRecord record;
    record.Title = token.GetTitle();
    record.UserName = token.GetUserName();
    record.Password = token.GetPassword();
    record.URL = token.GetURL();
    record.Notes = token.GetNotes();
    record.CreationDate = token.GetCreationDate();
    record.ModificationDate = token.GetModificationDate();
    record.Expires = token.GetExpires();
    record.ExpirationDate = token.GetExpirationDate();
    if (const auto properties = token.GetCustomProperties()) {
        const int count = properties->GetCount();
        for (int i = 0; i < count; ++i)
            record.CustomProperties.append(properties->GetItem(i));
    }
    if (const auto history = token.GetHistory())
        record.History = history->GetEntries();
    record.UseManualAutoLogin = token.GetUseManualAutoLogin();
    if (const auto autoLogin = token.GetAutoLoginInfo())
        record.AutoLogin = AutoLoginValues(autoLogin);
    return record;
}

void WalkStorage(ITokenGroup& group, ITreeSink& sink)
{
    TGroupRecord record;
    record.Title = group.GetTitle();
    record.CreationDate = group.GetCreationDate();
    record.ModificationDate = group.GetModificationDate();
    record.Expires = group.GetExpires();
    record.ExpirationDate = group.GetExpirationDate();
    if (const auto templ = group.GetCustomPropertiesTemplate())
        record.Template = templ->GetNames();
    sink.StartGroup(record);
    for (const auto& token : group.GetTokens())
        sink.AddToken(SnapshotToken(*token));
    for (const auto& child : group.GetGroups())
        WalkStorage(*child, sink);
    sink.EndGroup();
}

} // namespace Lockwyn
