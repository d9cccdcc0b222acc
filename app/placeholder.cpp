// Placeholder until the folder has real sources; delete when adding the first one.
