// Placeholder for an object library whose folder has no sources yet.
