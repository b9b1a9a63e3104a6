#include "FormFillLib.PageScript.h"

namespace Lockwyn {

namespace {

// Fields named by the options come first; otherwise the first visible
// password field and the user name field before it in the same form. Values
// go in through the input element's own setter, with the input and change
// events page scripts listen to. A form is submitted by its submit button,
// else requestSubmit(), deferred so the call returns before the page goes.
const QString Function = QStringLiteral(R"js(function (userName, password, options) {
  "use strict";
  const host = location.hostname.toLowerCase().replace(/\.+$/, "");
  if (options.site && !(host === options.site || host.endsWith("." + options.site)))
    return { status: "otherSite" };
  if (options.httpsOnly && location.protocol !== "https:")
    return { status: "otherSite" };
  if (document.readyState === "loading")
    return { status: "loading" };

  const usable = (e) => e instanceof HTMLInputElement && !e.disabled && !e.readOnly &&
    (e.offsetWidth > 0 || e.offsetHeight > 0 || e.getClientRects().length > 0) &&
    getComputedStyle(e).visibility !== "hidden";
  const userType = (e) => e.type === "text" || e.type === "email" || e.type === "tel";
  const forms = Array.from(document.forms);
  const form = forms[options.formIndex] || null;
  const named = (id, name) => {
    const byId = id ? document.getElementById(id) : null;
    if (usable(byId))
      return byId;
    const byName = name ? Array.from(document.getElementsByName(name)).filter(usable) : [];
    return byName.find((e) => form && e.form === form) || byName[0] || null;
  };
  const inputs = Array.from(document.querySelectorAll("input")).filter(usable);

  const passwordField = named(options.passwordId, options.passwordName) ||
    inputs.find((e) => e.type === "password") || null;
  const namedUser = named(options.userId, options.userName);
  let user = namedUser;
  if (!user && passwordField) {
    const before = inputs.filter((e) => userType(e) && e.form === passwordField.form &&
      (e.compareDocumentPosition(passwordField) & Node.DOCUMENT_POSITION_FOLLOWING));
    user = before.find((e) => /username|email/.test(e.autocomplete)) ||
      before[before.length - 1] || null;
  }
  if (!passwordField) {
    if (!namedUser || !options.fill)
      return { status: "noForm" };
    if (!options.allowUserNameOnly)
      return { status: "userNameOnly" };
  }

  const last = passwordField || user;
  const found = {
    formIndex: Math.max(forms.indexOf(last.form), 0),
    userId: user ? user.id : "", userName: user ? user.name : "",
    passwordId: passwordField ? passwordField.id : "", passwordName: passwordField ? passwordField.name : "",
  };
  if (!options.fill)
    return { status: "filled", ...found };

  const setValue = Object.getOwnPropertyDescriptor(HTMLInputElement.prototype, "value").set;
  const fill = (e, value) => {
    e.focus();
    setValue.call(e, value);
    e.dispatchEvent(new Event("input", { bubbles: true }));
    e.dispatchEvent(new Event("change", { bubbles: true }));
    e.blur();
  };
  if (user)
    fill(user, userName);
  if (passwordField)
    fill(passwordField, password);

  let submitWithEnter = false;
  if (options.submit) {
    const target = last.form;
    if (target) {
      const button = Array.from(target.elements).find((e) =>
        (e instanceof HTMLButtonElement || e instanceof HTMLInputElement) &&
        (e.type === "submit" || e.type === "image"));
      setTimeout(() => {
        if (button && !button.disabled)
          button.click();
        else if (target.requestSubmit)
          target.requestSubmit();
        else
          target.submit();
      }, 0);
    } else {
      last.focus();
      submitWithEnter = true;
    }
  }
  return { status: "filled", submitWithEnter, ...found };
})js");

} // namespace

QJsonObject TPageScriptOptions::ToJson() const
{
    return {{QStringLiteral("fill"), Fill},
            {QStringLiteral("submit"), Submit},
            {QStringLiteral("site"), Site},
            {QStringLiteral("httpsOnly"), HttpsOnly},
            {QStringLiteral("allowUserNameOnly"), AllowUserNameOnly},
            {QStringLiteral("formIndex"), Fields.LoginFormIndex},
            {QStringLiteral("userId"), Fields.LoginFieldInfo.ID},
            {QStringLiteral("userName"), Fields.LoginFieldInfo.Name},
            {QStringLiteral("passwordId"), Fields.PasswordFieldInfo.ID},
            {QStringLiteral("passwordName"), Fields.PasswordFieldInfo.Name}};
}

TPageScriptAnswer TPageScriptAnswer::FromJson(const QJsonObject& value)
{
    TPageScriptAnswer answer;
    const QString status = value.value(QStringLiteral("status")).toString();
    if (status == QLatin1String("filled"))
        answer.Status = TPageScriptStatus::pssFilled;
    else if (status == QLatin1String("otherSite"))
        answer.Status = TPageScriptStatus::pssOtherSite;
    else if (status == QLatin1String("loading"))
        answer.Status = TPageScriptStatus::pssLoading;
    else if (status == QLatin1String("userNameOnly"))
        answer.Status = TPageScriptStatus::pssUserNameOnly;
    const int formIndex = value.value(QStringLiteral("formIndex")).toInt();
    answer.Fields.LoginFormIndex = formIndex;
    answer.Fields.LoginFieldInfo = {formIndex, value.value(QStringLiteral("userId")).toString(),
                                    value.value(QStringLiteral("userName")).toString()};
    answer.Fields.PasswordFieldInfo = {formIndex,
                                       value.value(QStringLiteral("passwordId")).toString(),
                                       value.value(QStringLiteral("passwordName")).toString()};
    answer.SubmitWithEnter = value.value(QStringLiteral("submitWithEnter")).toBool();
    return answer;
}

const QString& PageScriptFunction()
{
    return Function;
}

} // namespace Lockwyn
