// Filled as the window-system stand-ins arrive.
