#!/bin/sh
echo "You hop onto the first pebble."
