// Anchor source of the core library; the folders add their objects to it.
