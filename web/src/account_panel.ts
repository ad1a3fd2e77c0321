// The lobby's account panel: who the page plays as, and the dialogs that
// register, sign in, change the password and delete the account. Passwords
// travel only over https; on a plain page the panel says so.
import { el } from './dom';
import type { State } from './state';
import { line, say } from './words';

export interface AccountActions {
  register(name: string, password: string): void;
  signIn(name: string, password: string): void;
  signOut(): void;
  changePassword(oldPassword: string, newPassword: string): void;
  deleteAccount(password: string): void;
  changeName(): void;
}

// What the lobby accepts: the dialog says so before the server must.
export function passwordAllowed(password: string): boolean {
  return password.length >= 8 && password.length <= 64 && !/[;|]/.test(password);
}

export function accountPanel(s: State, actions: AccountActions, secure: boolean): HTMLElement {
  if (s.account) {
    return el('section', { class: 'account', 'aria-label': say('signedInAs', s.account) },
      el('p', { class: 'who-am-i' }, line(say('signedInAs', s.account))),
      el('div', { class: 'buttons' },
        el('button', { class: 'small', id: 'sign-out', onclick: () => actions.signOut() }, say('signOut')),
        el('button', { class: 'small', id: 'change-password', onclick: () => openPasswordDialog(actions) }, say('changePassword')),
        el('button', { class: 'small', id: 'delete-account', onclick: () => openDeleteDialog(actions) }, say('deleteAccount'))));
  }
  return el('section', { class: 'account' },
    el('p', { class: 'who-am-i' }, line(say('guestAs', s.name))),
    el('div', { class: 'buttons' },
      secure ? el('button', { class: 'small', id: 'sign-in', onclick: () => openSignInDialog(actions, false, s.name) }, say('signIn')) : null,
      secure ? el('button', { class: 'small', id: 'register', onclick: () => openSignInDialog(actions, true, s.name) }, say('register')) : null,
      el('button', { class: 'small', id: 'change-name', onclick: () => actions.changeName() }, say('changeName'))),
    el('p', { class: 'help' }, secure ? say('accountHelp') : say('accountsNeedHttps')));
}

function passwordInput(id: string, autocomplete: string): HTMLInputElement {
  return el('input', { id, type: 'password', minlength: 8, maxlength: 64, required: true, autocomplete }) as HTMLInputElement;
}

// A modal form of labelled fields; done is called with the form checked.
function openDialog(id: string, title: string, fields: [string, HTMLInputElement][], submit: string, done: () => boolean,
  note?: string): void {
  const dialog = el('dialog', { class: 'account-dialog', id, 'aria-labelledby': `${id}-title` });
  const error = el('p', { class: 'notice', role: 'alert' });
  const form = el('form', { method: 'dialog' }, el('h2', { id: `${id}-title` }, title),
    ...fields.flatMap(([label, input]) => [el('label', { for: input.id }, label), input]),
    el('p', { class: 'help' }, note ?? say('passwordRules')), error,
    el('div', { class: 'buttons' },
      el('button', { type: 'button', class: 'secondary', onclick: () => dialog.close() }, say('cancel')),
      el('button', { type: 'submit', class: 'primary' }, submit)));
  form.addEventListener('submit', (e) => {
    e.preventDefault();
    if (done()) dialog.close();
    else error.textContent = say('passwordRules');
  });
  dialog.append(form);
  dialog.addEventListener('close', () => dialog.remove());
  document.body.append(dialog);
  dialog.showModal();
  fields[0][1].focus();
}

function openSignInDialog(actions: AccountActions, registering: boolean, guestName: string): void {
  const name = el('input', { id: 'account-name', maxlength: 40, required: true, autocomplete: 'username', value: guestName }) as HTMLInputElement;
  const password = passwordInput('account-password', registering ? 'new-password' : 'current-password');
  const title = registering ? say('register') : say('signIn');
  openDialog('account-dialog', title, [[say('accountName'), name], [say('accountPassword'), password]], title, () => {
    const who = name.value.trim().replace(/[;|]/g, ' ');
    if (!who || !passwordAllowed(password.value)) return false;
    (registering ? actions.register : actions.signIn)(who, password.value);
    return true;
  });
}

function openPasswordDialog(actions: AccountActions): void {
  const old = passwordInput('old-password', 'current-password');
  const fresh = passwordInput('new-password', 'new-password');
  openDialog('password-dialog', say('changePassword'), [[say('currentPassword'), old], [say('newPassword'), fresh]],
    say('ok'), () => {
      if (!passwordAllowed(old.value) || !passwordAllowed(fresh.value)) return false;
      actions.changePassword(old.value, fresh.value);
      return true;
    });
}

function openDeleteDialog(actions: AccountActions): void {
  const password = passwordInput('delete-password', 'current-password');
  openDialog('delete-dialog', say('deleteAccount'), [[say('accountPassword'), password]], say('deleteAccount'), () => {
    if (!passwordAllowed(password.value)) return false;
    actions.deleteAccount(password.value);
    return true;
  }, say('deleteWarning'));
}
