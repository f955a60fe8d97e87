# Display sources: frames, sprites and animation.
target_sources(tarnwick PRIVATE
)
