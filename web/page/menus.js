// The menu bar: the game's own captions and names; a leaf raises its click, the others open
// lists. By mouse as in the window; from the keyboard as a desktop's menu bar (the WAI-ARIA
// menubar pattern): F10, or Alt alone, moves the focus to the first menu, and the focus comes
// back where it was when the bar is left. No menu is ever in the tab order.

import * as commands from './commands.js';

let bar = null;
const tops = []; // the top-level menus' buttons, in order
let openMenu = null;
let returnFocus = null; // while the bar holds the focus: where it goes back to

const menuButton = (entry) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.id = entry.name;
    button.textContent = entry.caption;
    button.setAttribute('role', 'menuitem');
    button.tabIndex = -1;
    button.addEventListener('mousedown', (e) => e.preventDefault()); // keep the focus
    return button;
};

// Menus come before the menus and items that open from them, as the rules list them.
export function build(element, { menus, items }) {
    bar = element;
    const lists = new Map(); // menu name -> its <ul>
    for (const entry of menus) {
        const button = menuButton(entry);
        button.setAttribute('aria-haspopup', 'menu');
        button.setAttribute('aria-expanded', 'false');
        const list = document.createElement('ul');
        list.setAttribute('role', 'menu');
        list.setAttribute('aria-label', entry.caption);
        list.hidden = true;
        lists.set(entry.name, list);
        if (entry.parent === null) {
            const menu = document.createElement('div');
            menu.className = 'menu';
            button.addEventListener('click', () => {
                if (openMenu === menu) closeMenus();
                else openTopMenu(menu);
            });
            // Only a mouse hovers: a finger's tap on another title would open its menu by the
            // browser's stand-in hover and then shut it again with the tap's click.
            button.addEventListener('pointerenter', (e) => {
                if (e.pointerType === 'mouse' && openMenu && openMenu !== menu) openTopMenu(menu);
            });
            menu.append(button, list);
            bar.append(menu);
            tops.push(button);
        } else {
            const li = document.createElement('li');
            li.setAttribute('role', 'none');
            li.className = 'parent';
            li.append(button, list);
            button.addEventListener('mouseenter', () => openSub(li));
            button.addEventListener('click', () => openSub(li));
            lists.get(entry.parent).append(li);
        }
    }
    for (const item of items) {
        const li = document.createElement('li');
        li.setAttribute('role', 'none');
        const button = menuButton(item);
        button.addEventListener('mouseenter', () => {
            for (const other of li.parentElement.children) closeSub(other);
        });
        button.addEventListener('click', () => choose(item.action));
        li.append(button);
        lists.get(item.menu).append(li);
    }
    document.addEventListener('mousedown', (e) => {
        if (openMenu && !openMenu.contains(e.target)) closeMenus();
        if (returnFocus && !bar.contains(e.target)) leaveBar();
    });
}

// An item chosen, by mouse or keys: the menus close and the focus is back where it was before
// the item's click reaches the rules, which may move it on (Start Over leaves it on Start).
function choose(action) {
    if (returnFocus) leaveBar();
    else closeMenus();
    commands.send('click', action);
}

function openSub(li) {
    for (const other of li.parentElement.children) {
        if (other !== li) closeSub(other);
    }
    li.classList.add('open');
    li.firstChild.setAttribute('aria-expanded', 'true');
    li.lastChild.hidden = false;
    keepOnScreen(li.lastChild, li);
}

// A list that would run off the right of a narrow screen moves left, under the item that opened
// it where it covers its own menu.
function keepOnScreen(list, li) {
    list.style.removeProperty('left');
    list.style.removeProperty('top');
    const r = list.getBoundingClientRect();
    const over = r.right - (document.documentElement.clientWidth - 4);
    if (over <= 0) return;
    const zoom = r.width / list.offsetWidth; // the window's scale, where the bar has it
    list.style.left = `${list.offsetLeft - over / zoom}px`;
    if (li) list.style.top = `${li.offsetHeight}px`;
}

function closeSub(li) {
    for (const o of [li, ...li.querySelectorAll('li')]) {
        o.classList.remove('open');
        if (o.classList.contains('parent')) {
            o.firstChild.setAttribute('aria-expanded', 'false');
            o.lastChild.hidden = true;
        }
    }
}

function openTopMenu(menu) {
    closeMenus();
    openMenu = menu;
    menu.firstChild.setAttribute('aria-expanded', 'true');
    menu.lastChild.hidden = false;
    keepOnScreen(menu.lastChild, null);
}

export const isOpen = () => openMenu !== null;

export function closeMenus() {
    if (!openMenu) return;
    openMenu.firstChild.setAttribute('aria-expanded', 'false');
    openMenu.lastChild.hidden = true;
    for (const li of openMenu.querySelectorAll('li')) closeSub(li);
    openMenu = null;
}

// ---------------------------------------------------------------------------------------------
// The keyboard

export const hasFocus = () => returnFocus !== null;

export function enterBar() {
    if (returnFocus) return;
    returnFocus = document.activeElement || document.body;
    closeMenus();
    tops[0].focus({ preventScroll: true });
}

// Closes the menus and gives the focus back; `restore` false when something else takes it (the
// end of the program, a message box).
export function leaveBar(restore = true) {
    closeMenus();
    const back = returnFocus;
    returnFocus = null;
    if (restore && back && document.contains(back)) back.focus({ preventScroll: true });
}

// Alt alone enters the bar, and leaves it again.
export function toggleBar() {
    if (returnFocus) leaveBar();
    else enterBar();
}

const itemsOf = (list) => [...list.children].map((li) => li.firstChild);
const step = (array, from, by) => array[(array.indexOf(from) + by + array.length) % array.length];

function openAndEnter(top, last = false) {
    openTopMenu(top.parentElement);
    const items = itemsOf(top.nextSibling);
    (last ? items.at(-1) : items[0]).focus({ preventScroll: true });
}

function moveTop(from, by, open) {
    const next = step(tops, from, by);
    if (open) openAndEnter(next);
    else next.focus({ preventScroll: true });
}

// Every key while the bar holds the focus is the bar's: none reaches the rules or the controls.
export function keyDown(e) {
    e.preventDefault();
    e.stopPropagation();
    const focused = document.activeElement;
    if (e.code === 'Tab' || e.code === 'F10') {
        leaveBar();
        return;
    }
    if (tops.includes(focused)) topKey(e.code, focused);
    else if (focused && bar.contains(focused)) itemKey(e.code, focused);
    else leaveBar(false); // the focus left the bar some other way
}

function topKey(code, top) {
    switch (code) {
    case 'ArrowLeft': moveTop(top, -1, false); break;
    case 'ArrowRight': moveTop(top, 1, false); break;
    case 'Home': tops[0].focus(); break;
    case 'End': tops.at(-1).focus(); break;
    case 'ArrowDown':
    case 'Enter':
    case 'NumpadEnter':
    case 'Space':
        openAndEnter(top);
        break;
    case 'ArrowUp': openAndEnter(top, true); break;
    case 'Escape': leaveBar(); break;
    default: break;
    }
}

function itemKey(code, item) {
    const li = item.parentElement;
    const list = li.parentElement;
    const items = itemsOf(list);
    const parentLi = list.parentElement.tagName === 'LI' ? list.parentElement : null;
    const top = openMenu.firstChild;
    const isParent = li.classList.contains('parent');
    const enterSub = () => {
        openSub(li);
        itemsOf(li.lastChild)[0].focus({ preventScroll: true });
    };
    const closeThisSub = () => {
        closeSub(parentLi);
        parentLi.firstChild.focus({ preventScroll: true });
    };
    switch (code) {
    case 'ArrowDown': step(items, item, 1).focus(); break;
    case 'ArrowUp': step(items, item, -1).focus(); break;
    case 'Home': items[0].focus(); break;
    case 'End': items.at(-1).focus(); break;
    case 'ArrowRight':
        if (isParent) enterSub();
        else moveTop(top, 1, true);
        break;
    case 'ArrowLeft':
        if (parentLi) closeThisSub();
        else moveTop(top, -1, true);
        break;
    case 'Enter':
    case 'NumpadEnter':
    case 'Space':
        if (isParent) enterSub();
        else item.click();
        break;
    case 'Escape':
        if (parentLi) closeThisSub();
        else leaveBar();
        break;
    default:
        break;
    }
}
