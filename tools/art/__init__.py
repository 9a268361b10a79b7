"""Drawing and level building for tools/make-art.py."""
