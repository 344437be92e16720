#!/bin/sh
echo "No scores yet."
