// The game view; filled in next.
