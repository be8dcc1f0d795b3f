// Placeholder until the version window is built.
