# Tools built with the project.
