// The menu bar: the game's own captions and names; a leaf raises its click, the others open
// lists.

import * as input from './input.js';

let openMenu = null;

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
export function build(bar, { menus, items }) {
    const lists = new Map(); // menu name -> its <ul>
    for (const entry of menus) {
        const button = menuButton(entry);
        button.setAttribute('aria-haspopup', 'menu');
        const list = document.createElement('ul');
        list.setAttribute('role', 'menu');
        list.hidden = true;
        lists.set(entry.name, list);
        if (entry.parent === null) {
            const menu = document.createElement('div');
            menu.className = 'menu';
            button.setAttribute('aria-expanded', 'false');
            button.addEventListener('click', () => {
                if (openMenu === menu) closeMenus();
                else openTopMenu(menu);
            });
            button.addEventListener('mouseenter', () => {
                if (openMenu && openMenu !== menu) openTopMenu(menu);
            });
            menu.append(button, list);
            bar.append(menu);
        } else {
            const li = document.createElement('li');
            li.setAttribute('role', 'none');
            li.className = 'parent';
            li.append(button, list);
            const openSub = () => {
                for (const other of li.parentElement.children) {
                    if (other !== li) closeSub(other);
                }
                li.classList.add('open');
                list.hidden = false;
            };
            button.addEventListener('mouseenter', openSub);
            button.addEventListener('click', openSub);
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
        button.addEventListener('click', () => {
            closeMenus();
            input.click(item.action);
        });
        li.append(button);
        lists.get(item.menu).append(li);
    }
    document.addEventListener('mousedown', (e) => {
        if (openMenu && !openMenu.contains(e.target)) closeMenus();
    });
}

function closeSub(li) {
    li.classList.remove('open');
    for (const ul of li.querySelectorAll('ul')) ul.hidden = true;
    for (const o of li.querySelectorAll('li.open')) o.classList.remove('open');
}

function openTopMenu(menu) {
    closeMenus();
    openMenu = menu;
    menu.firstChild.setAttribute('aria-expanded', 'true');
    menu.lastChild.hidden = false;
}

export const isOpen = () => openMenu !== null;

export function closeMenus() {
    if (!openMenu) return;
    openMenu.firstChild.setAttribute('aria-expanded', 'false');
    openMenu.lastChild.hidden = true;
    for (const li of openMenu.querySelectorAll('li')) closeSub(li);
    openMenu = null;
}
