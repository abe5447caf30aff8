// main window, being written
