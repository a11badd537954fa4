#!/bin/sh
# The sample disc's installer: makes the folder for saved games.
folder="${XDG_DATA_HOME:-$HOME/.local/share}/varnokh2"
mkdir -p "$folder" && echo "Saved games go to $folder"
